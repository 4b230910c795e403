#include "support/tcp_exchange.h"

#include "fixtures/loopback_server.h"
#include "fixtures/loopback_socket.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct error_name_case {
    int code;
    std::string name;
};

void PrintTo(const error_name_case& c, std::ostream* os) {
    *os << c.code;
}

class socket_error_name_gives : public testing::TestWithParam<error_name_case> {};

TEST_P(socket_error_name_gives, the_name_or_the_decimal_number) {
    EXPECT_EQ(socket_error_name(GetParam().code), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    examples, socket_error_name_gives,
    testing::Values(error_name_case{10061, "ECONNREFUSED"}, error_name_case{10054, "ECONNRESET"},
                    error_name_case{10004, "EINTR"}, error_name_case{10071, "EREMOTE"},
                    error_name_case{10093, "NOTINITIALISED"}, error_name_case{10102, "ENOMORE"},
                    error_name_case{10110, "E_NO_MORE"}, error_name_case{10103, "ECANCELLED"},
                    error_name_case{10111, "E_CANCELLED"},
                    error_name_case{10108, "SERVICE_NOT_FOUND"}, error_name_case{10112, "EREFUSED"},
                    error_name_case{0, "0"}, error_name_case{10067, "10067"},
                    error_name_case{10090, "10090"}, error_name_case{10113, "10113"},
                    error_name_case{11001, "11001"}, error_name_case{-5, "-5"},
                    error_name_case{-2147483647 - 1, "-2147483648"}));

// Every named number with its name, as the table of names reads; every other number gives
// its decimal text.
const char* const named_errors =
    "10004 \"EINTR\"; 10009 \"EBADF\"; 10013 \"EACCES\"; 10014 \"EFAULT\"; 10022 \"EINVAL\";"
    "10024 \"EMFILE\"; 10035 \"EWOULDBLOCK\"; 10036 \"EINPROGRESS\"; 10037 \"EALREADY\";"
    "10038 \"ENOTSOCK\"; 10039 \"EDESTADDRREQ\"; 10040 \"EMSGSIZE\"; 10041 \"EPROTOTYPE\";"
    "10042 \"ENOPROTOOPT\"; 10043 \"EPROTONOSUPPORT\"; 10044 \"ESOCKTNOSUPPORT\";"
    "10045 \"EOPNOTSUPP\"; 10046 \"EPFNOSUPPORT\"; 10047 \"EAFNOSUPPORT\";"
    "10048 \"EADDRINUSE\"; 10049 \"EADDRNOTAVAIL\"; 10050 \"ENETDOWN\"; 10051 \"ENETUNREACH\";"
    "10052 \"ENETRESET\"; 10053 \"ECONNABORTED\"; 10054 \"ECONNRESET\"; 10055 \"ENOBUFS\";"
    "10056 \"EISCONN\"; 10057 \"ENOTCONN\"; 10058 \"ESHUTDOWN\"; 10059 \"ETOOMANYREFS\";"
    "10060 \"ETIMEDOUT\"; 10061 \"ECONNREFUSED\"; 10062 \"ELOOP\"; 10063 \"ENAMETOOLONG\";"
    "10064 \"EHOSTDOWN\"; 10065 \"EHOSTUNREACH\"; 10066 \"ENOTEMPTY\"; 10068 \"EUSERS\";"
    "10069 \"EDQUOT\"; 10070 \"ESTALE\"; 10071 \"EREMOTE\"; 10091 \"SYSNOTREADY\";"
    "10092 \"VERNOTSUPPORTED\"; 10093 \"NOTINITIALISED\"; 10101 \"EDISCON\"; 10102 \"ENOMORE\";"
    "10103 \"ECANCELLED\"; 10104 \"EINVALIDPROCTABLE\"; 10105 \"EINVALIDPROVIDER\";"
    "10106 \"EPROVIDERFAILEDINIT\"; 10107 \"SYSCALLFAILURE\"; 10108 \"SERVICE_NOT_FOUND\";"
    "10109 \"TYPE_NOT_FOUND\"; 10110 \"E_NO_MORE\"; 10111 \"E_CANCELLED\"; 10112 \"EREFUSED\"";

TEST(socket_error_name, names_the_57_numbers_of_the_table_and_no_other) {
    std::map<int, std::string> table;
    std::istringstream entries(named_errors);
    for (std::string entry; std::getline(entries, entry, ';');) {
        std::istringstream fields(entry);
        int code = 0;
        std::string quoted;
        fields >> code >> quoted;
        ASSERT_GE(quoted.size(), 3u) << entry;
        table[code] = quoted.substr(1, quoted.size() - 2);
    }
    ASSERT_EQ(table.size(), 57u);
    for (int code = 9000; code <= 12000; ++code) {
        const auto named = table.find(code);
        EXPECT_EQ(socket_error_name(code),
                  named == table.end() ? std::to_string(code) : named->second);
    }
}

TEST(address_text, shows_the_octets_in_network_order_in_dotted_decimal) {
    const unsigned char octets[4] = {192, 0, 2, 10};
    std::uint32_t address;
    std::memcpy(&address, octets, sizeof address);
    EXPECT_EQ(address_text(address), "192.0.2.10");
    EXPECT_EQ(address_text(address_none), "255.255.255.255");
    EXPECT_EQ(address_text(loopback_address()), "127.0.0.1");
}

struct lookup_case {
    std::string name;
    std::string address;
};

void PrintTo(const lookup_case& c, std::ostream* os) {
    *os << c.name;
}

class resolve_host_finds : public testing::TestWithParam<lookup_case> {};

TEST_P(resolve_host_finds, the_first_ipv4_address_or_none) {
    EXPECT_EQ(address_text(resolve_host(GetParam().name)), GetParam().address);
}

// The names come from the test's own hosts file.
INSTANTIATE_TEST_SUITE_P(examples, resolve_host_finds,
                         testing::Values(lookup_case{"exchange.test", "127.0.0.1"},
                                         lookup_case{"EXCHANGE.test", "127.0.0.1"},
                                         lookup_case{"documentation.test", "192.0.2.10"},
                                         lookup_case{"alias.test", "192.0.2.20"},
                                         lookup_case{"127.0.0.9", "127.0.0.9"},
                                         lookup_case{"no-such-host.invalid", "255.255.255.255"},
                                         lookup_case{"six.test", "255.255.255.255"}));

TEST(resolve_host, gives_the_address_in_network_order) {
    EXPECT_EQ(resolve_host("exchange.test"), loopback_address());
}

TEST(tcp_socket, made_empty_holds_no_socket_and_its_copies_neither) {
    const Ctcp_socket empty;
    const Ctcp_socket copy(empty);
    Ctcp_socket assigned;
    assigned = empty;
    EXPECT_EQ(empty.get(), invalid_socket);
    EXPECT_EQ(copy.get(), invalid_socket);
    EXPECT_EQ(assigned.get(), invalid_socket);
}

// A connection whose server records whether the client's side closed in order.
struct watched_connection {
    bool closed_by_client = false;
    Cloopback_server server{
        [this](Cloopback_connection& connection) { closed_by_client = connection.read_to_end(); }};

    Ctcp_socket connect() {
        Ctcp_socket socket;
        socket.open();
        EXPECT_EQ(socket.connect(loopback_address(), network_order(server.port())), 0);
        return socket;
    }
};

TEST(tcp_socket, stays_open_until_the_last_copy_goes) {
    watched_connection watched;
    {
        Ctcp_socket original = watched.connect();
        std::vector<Ctcp_socket> copies(3, original);
        original = Ctcp_socket();
        copies.resize(1);
        copies.front() = copies.front();
        // Only a socket still open carries this to the server.
        const std::string probe = "still open";
        EXPECT_EQ(copies.front().send(probe.data(), probe.data() + probe.size()), 10);
    }
    EXPECT_EQ(watched.server.finish(), std::vector<std::string>{"still open"});
    EXPECT_TRUE(watched.closed_by_client);
}

TEST(tcp_socket, assigned_over_closes_a_socket_it_held_alone) {
    watched_connection first;
    watched_connection second;
    Ctcp_socket holder = first.connect();
    const Ctcp_socket other = second.connect();
    holder = other;
    // The first server sees its connection end while the second one's is still held.
    first.server.finish();
    EXPECT_TRUE(first.closed_by_client);
    EXPECT_EQ(holder.get(), other.get());
}

TEST(tcp_socket, open_replaces_the_socket_it_held) {
    watched_connection watched;
    Ctcp_socket socket = watched.connect();
    socket.open();
    watched.server.finish();
    EXPECT_TRUE(watched.closed_by_client);
    EXPECT_NE(socket.get(), invalid_socket);
}

TEST(tcp_socket, sending_on_a_reset_connection_fails_without_ending_the_process) {
    Cloopback_server server([](Cloopback_connection& connection) { connection.reset(); });
    Ctcp_socket socket;
    socket.open();
    ASSERT_EQ(socket.connect(loopback_address(), network_order(server.port())), 0);
    server.finish();
    // Waits for the reset to arrive; platforms differ in what this receive reports.
    char buffer[16];
    EXPECT_LE(socket.recv(buffer, buffer + sizeof buffer), 0);

    const std::string data = "after the reset";
    int sent = 0;
    for (int attempt = 0; attempt < 100 && sent >= 0; ++attempt) {
        sent = socket.send(data.data(), data.data() + data.size());
    }
    EXPECT_EQ(sent, -1);
    // Where the system signals a write to a broken connection, this one would end the program.
    EXPECT_EQ(socket.send(data.data(), data.data() + data.size()), -1);
}

TEST(tcp_socket, connect_to_a_port_nobody_listens_on_is_refused) {
    Ctcp_socket socket;
    socket.open();
    EXPECT_EQ(socket.connect(loopback_address(), network_order(unused_loopback_port())), -1);
    EXPECT_EQ(socket_error_name(last_socket_error()), "ECONNREFUSED");
}

TEST(winsock_startup, may_be_called_again) {
    EXPECT_EQ(winsock_startup(), 0);
    EXPECT_EQ(winsock_startup(), 0);
}

}  // namespace
