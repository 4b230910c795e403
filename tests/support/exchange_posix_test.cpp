#include "support/tcp_exchange.h"

#include "fixtures/loopback_socket.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <string>
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
