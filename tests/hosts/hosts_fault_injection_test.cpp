#include "hosts/hosts_file.h"

#include "hosts/hosts_examples.h"
#include "hosts/hosts_test_files.h"
#include "hosts/injected_faults.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::string old_lf_text = "127.0.0.1 localhost\n1.2.3.4 " + chat + "\n# last line\n";

struct rewrite_outcome {
    int result;
    std::string description;
};

// One rewrite of a fresh hosts file under a fault plan.
class Cfaulted_rewrite {
  public:
    Cfaulted_rewrite(const std::string& address, std::vector<planned_fault> plan)
        : hosts_(directory_ / "hosts") {
        put_file_bytes(hosts_, file_text(old_lf_text));
        Cinjected_faults faults(std::move(plan));
        result_ = update_hosts_file(hosts_, address);
        groups_ = faults.groups();
        failed_a_removal_ = faults.failed_a_removal();
        description_ = faults.description();
    }

    int result() const { return result_; }
    std::size_t calls() const { return groups_.size(); }
    call_group group_of(std::size_t call) const { return groups_.at(call - 1); }

    // The hosts path holds the old or the new text whole, the result is 1 unless it is the new
    // one, and nothing is left beside it. Only where the old file had already left the hosts path
    // and no way back was open may the path hold neither, and then the old text must be kept whole.
    testing::AssertionResult left_a_whole_file(const std::string& new_text) const {
        const std::string old_text = file_text(old_lf_text);
        std::vector<std::string> others;
        bool old_text_kept_beside = false;
        for (const std::string& name : names_in(directory_.path())) {
            if (name != "hosts") {
                others.push_back(name);
                old_text_kept_beside =
                    old_text_kept_beside || file_bytes(directory_ / name) == old_text;
            }
        }
        const std::string bytes = fs::is_regular_file(hosts_) ? file_bytes(hosts_) : "(no file)";
        const bool whole = bytes == old_text || bytes == new_text;
        if (!whole && !(old_text_kept_beside && result_ == 1)) {
            return testing::AssertionFailure() << "the hosts path holds [" << bytes << "], result "
                                               << result_ << "; " << description_;
        }
        if (bytes != new_text && result_ != 1) {
            return testing::AssertionFailure()
                   << "result " << result_ << " for the old text; " << description_;
        }
        if (whole && !others.empty() && !failed_a_removal_) {
            return testing::AssertionFailure()
                   << "left " << others.front() << " beside the hosts file; " << description_;
        }
        return testing::AssertionSuccess();
    }

    bool holds_the_old_text_alone() const {
        return file_bytes(hosts_) == file_text(old_lf_text) &&
               names_in(directory_.path()) == std::vector<std::string>{"hosts"};
    }

  private:
    Cscratch_directory directory_;
    std::string hosts_;
    int result_ = -1;
    std::vector<call_group> groups_;
    bool failed_a_removal_ = false;
    std::string description_;
};

const fault_kind kinds[] = {fault_kind::once, fault_kind::lasting};

// Every call of the rewrite fails in turn, alone and together with every later call of the run
// that the first fault leaves, each once or lasting. Left out: a second fault that stops every
// write after the old text was partly overwritten in place, which nothing can mend.
TEST(update_hosts_file_under_faults, every_failure_point_leaves_the_old_or_the_new_text_whole) {
    const struct {
        const char* name;
        std::string address;
        std::string new_lf_text;
    } rewrites[] = {
        {"apply, which lengthens the file", "192.0.2.10",
         "127.0.0.1 localhost\n# last line\n192.0.2.10 " + chat + "\n192.0.2.10 " + server_list +
             "\n"},
        {"reset, which shortens it", "", "127.0.0.1 localhost\n# last line\n"},
    };
    for (const auto& rewrite : rewrites) {
        SCOPED_TRACE(rewrite.name);
        const std::string new_text = file_text(rewrite.new_lf_text);
        const Cfaulted_rewrite clean(rewrite.address, {});
        ASSERT_TRUE(clean.left_a_whole_file(new_text));
        ASSERT_EQ(clean.result(), 0);
        ASSERT_GT(clean.calls(), 3u);
        std::size_t runs = 0;
        for (std::size_t first = 1; first <= clean.calls(); ++first) {
            for (const fault_kind first_kind : kinds) {
                const Cfaulted_rewrite alone(rewrite.address, {{first, first_kind}});
                EXPECT_TRUE(alone.left_a_whole_file(new_text));
                for (std::size_t second = first + 1; second <= alone.calls(); ++second) {
                    for (const fault_kind second_kind : kinds) {
                        if (second_kind == fault_kind::lasting &&
                            alone.group_of(second) == call_group::write) {
                            continue;
                        }
                        const Cfaulted_rewrite pair(rewrite.address,
                                                    {{first, first_kind}, {second, second_kind}});
                        EXPECT_TRUE(pair.left_a_whole_file(new_text));
                        ++runs;
                    }
                }
            }
        }
        // A fault in the first calls, which ask what kind of file it is, ends a run at once: the
        // pairs that follow those are few.
        EXPECT_GT(runs, clean.calls() * clean.calls() / 2);
    }
}

}  // namespace

namespace {

TEST(update_hosts_file_under_faults, a_read_error_after_the_first_bytes_fails_and_writes_nothing) {
    const Cfaulted_rewrite clean("192.0.2.10", {});
    std::vector<std::size_t> reads;
    for (std::size_t call = 1; call <= clean.calls(); ++call) {
        if (clean.group_of(call) == call_group::read) {
            reads.push_back(call);
        }
    }
    ASSERT_GE(reads.size(), 2u) << "the first read no longer gives bytes before the end";

    const Cfaulted_rewrite failed("192.0.2.10", {{reads[1], fault_kind::once}});
    EXPECT_EQ(failed.result(), 1);
    EXPECT_TRUE(failed.holds_the_old_text_alone());
    for (std::size_t call = reads[1] + 1; call <= failed.calls(); ++call) {
        EXPECT_NE(failed.group_of(call), call_group::write) << "call " << call;
        EXPECT_NE(failed.group_of(call), call_group::open) << "call " << call;
    }
}

}  // namespace
