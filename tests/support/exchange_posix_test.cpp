#include "support/tcp_exchange.h"

#include "fixtures/child_process.h"
#include "fixtures/loopback_server.h"
#include "fixtures/loopback_socket.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace {

// Takes every descriptor the process may still open, under a lowered limit, for its lifetime.
class descriptors_used_up {
  public:
    descriptors_used_up() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = 256;
        setrlimit(RLIMIT_NOFILE, &lowered);
        for (int fd; (fd = dup(STDERR_FILENO)) >= 0;) {
            taken_.push_back(fd);
        }
    }
    ~descriptors_used_up() {
        for (int fd : taken_) {
            close(fd);
        }
        setrlimit(RLIMIT_NOFILE, &saved_);
    }

  private:
    rlimit saved_{};
    std::vector<int> taken_;
};

// A port whose packets a firewall rule drops on arrival, in a network namespace of the child's
// own: the connection is never answered, not even refused.
constexpr int silent_port = 4999;
const char* const silent_port_rules =
    "ip link set lo up && nft 'add table inet ketrin_silent; "
    "add chain inet ketrin_silent input { type filter hook input priority 0; }; "
    "add rule inet ketrin_silent input tcp dport 4999 drop'";

struct timed_exchange {
    int result = -1;
    std::string output;
    double seconds = 0;
};

// Runs one exchange with the silent port in a child process.
timed_exchange exchange_with_the_silent_port() {
    const auto start = std::chrono::steady_clock::now();
    const child_output told = output_of_child([](std::string& output) {
        if (::unshare(CLONE_NEWNET) != 0 || std::system(silent_port_rules) != 0) {
            return 99;
        }
        return exchange_with_server("127.0.0.1", silent_port, "quit\n", output);
    });
    return {told.exit_code, told.text,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

// Windows gives up after its default retransmissions, about 21 s; so does this build, rather
// than after the kernel's two minutes.
TEST(exchange_with_server, a_host_that_never_answers_times_out_as_on_windows) {
    const timed_exchange made = exchange_with_the_silent_port();
    ASSERT_NE(made.result, 99) << "could not make the namespace or its firewall rule";
    EXPECT_EQ(made.result, 1);
    EXPECT_EQ(made.output, "server: 127.0.0.1:4999 (127.0.0.1)\r\nunable to connect: ETIMEDOUT");
    EXPECT_GE(made.seconds, 20.5);
    EXPECT_LT(made.seconds, 40.0);
}

TEST(exchange_with_server, a_socket_that_cannot_be_made_keeps_the_earlier_output) {
    std::string output = "nick line\r\n";
    int result;
    {
        const descriptors_used_up used_up;
        result = exchange_with_server("127.0.0.1", 4005, "quit\n", output);
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(output, "nick line\r\nunable to create socket: EMFILE");
}

// glibc does not take the empty name for this machine's own (which the test's hosts file holds),
// so the attempt goes to 255.255.255.255.
TEST(exchange_with_server, the_empty_host_on_port_0_is_a_connect_failure) {
    std::string output = "earlier";

    EXPECT_EQ(exchange_with_server("", 0, "quit\n", output), 1);

    const std::string expected_start = "server: :0 (255.255.255.255)\r\nunable to connect: ";
    EXPECT_EQ(output.substr(0, expected_start.size()), expected_start);
    EXPECT_GT(output.size(), expected_start.size());
}

TEST(tcp_socket, an_empty_handle_fails_with_the_error_of_no_descriptor) {
    Ctcp_socket empty;
    EXPECT_EQ(empty.connect(loopback_address(), network_order(4005)), -1);
    EXPECT_EQ(socket_error_name(last_socket_error()), "EBADF");
}

struct errno_case {
    int posix;
    std::string name;
};

void PrintTo(const errno_case& c, std::ostream* os) {
    *os << "errno " << c.posix;
}

class last_socket_error_names : public testing::TestWithParam<errno_case> {};

TEST_P(last_socket_error_names, an_errno_as_its_windows_sockets_counterpart) {
    errno = GetParam().posix;
    EXPECT_EQ(socket_error_name(last_socket_error()), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    examples, last_socket_error_names,
    testing::Values(errno_case{0, "0"}, errno_case{ECONNREFUSED, "ECONNREFUSED"},
                    errno_case{ECONNRESET, "ECONNRESET"}, errno_case{EAGAIN, "EWOULDBLOCK"},
                    errno_case{ENOTSUP, "EOPNOTSUPP"}, errno_case{EPIPE, "ECONNRESET"},
                    errno_case{ETIMEDOUT, "ETIMEDOUT"}, errno_case{EHOSTUNREACH, "EHOSTUNREACH"},
                    errno_case{EMFILE, "EMFILE"}, errno_case{EREMOTE, "EREMOTE"},
                    errno_case{ENOENT, std::to_string(ENOENT)},
                    errno_case{ENFILE, std::to_string(ENFILE)},
                    errno_case{ENOMEM, std::to_string(ENOMEM)}));

TEST(last_socket_error, maps_every_errno_to_its_own_number) {
    // Two errno values sharing one number would make two failures read alike; only EPIPE and
    // ESHUTDOWN are meant to.
    std::vector<int> seen;
    for (int error = 1; error < 200; ++error) {
        errno = error;
        const int mapped = last_socket_error();
        if (mapped >= 10000 && error != EPIPE) {
            for (int earlier : seen) {
                EXPECT_NE(earlier, mapped) << "errno " << error;
            }
            seen.push_back(mapped);
        }
    }
    EXPECT_EQ(seen.size(), 42u);
}

}  // namespace

namespace {

struct cancel_case {
    const char* when;
    std::chrono::milliseconds cancel_after;  // negative: before the exchange begins
};

class exchange_cancel : public testing::TestWithParam<cancel_case> {};

// Cancelled before it begins, the exchange makes no connection (here: to a port nobody listens
// on, which would fail otherwise); cancelled while it waits for a server that took the request and
// says nothing, it ends at once and the server sees the connection end.
TEST_P(exchange_cancel, ends_the_exchange_at_once_and_closes_the_connection) {
    const cancel_case& c = GetParam();
    const bool before = c.cancel_after.count() < 0;
    std::atomic<bool> saw_close{false};
    std::optional<Cloopback_server> silent;
    if (!before) {
        silent.emplace(
            [&](Cloopback_connection& connection) { saw_close = connection.read_to_end(); });
    }
    Cexchange_cancel cancel;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::max(c.cancel_after, std::chrono::milliseconds(0)));
        cancel.cancel();
    });
    if (before) {
        canceller.join();
    }
    std::string output;
    const auto start = std::chrono::steady_clock::now();
    const int result =
        exchange_with_server("127.0.0.1", silent ? silent->port() : unused_loopback_port(),
                             "whereto\n", output, &cancel);
    const auto took = std::chrono::steady_clock::now() - start;
    if (canceller.joinable()) {
        canceller.join();
    }
    EXPECT_EQ(result, 1) << c.when << ": a cancelled exchange is no answer";
    EXPECT_NE(output.find("cancelled"), std::string::npos) << c.when << ": " << output;
    EXPECT_LT(took, c.cancel_after + std::chrono::seconds(1)) << c.when;
    if (silent) {
        EXPECT_EQ(silent->finish(), std::vector<std::string>{"whereto\n"});
        EXPECT_TRUE(saw_close.load()) << "the server saw the connection end";
    }
}

INSTANTIATE_TEST_SUITE_P(
    cases, exchange_cancel,
    testing::Values(cancel_case{"before", std::chrono::milliseconds(-1)},
                    cancel_case{"while_receiving", std::chrono::milliseconds(300)}),
    [](const testing::TestParamInfo<cancel_case>& info) { return info.param.when; });

}  // namespace
