#include "hosts/hosts_file.h"

#include "hosts/hosts_file_system.h"
#include "hosts/hosts_test_files.h"
#include "hosts/hosts_examples.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using strings = std::vector<std::string>;

const std::string applied_pair = "192.0.2.10 " + chat + "\n192.0.2.10 " + server_list + "\n";
const std::string service_line = "1.2.3.4 " + chat + "\n";

TEST(update_hosts_file, rewrites_the_worked_example) {
    const struct {
        std::string address;
        std::string lf_text;
    } cases[] = {{"192.0.2.10", worked_example_kept + applied_pair}, {"", worked_example_kept}};
    for (const auto& example : cases) {
        Cscratch_directory directory;
        const std::string hosts = directory / "hosts";
        put_file_bytes(hosts, file_text(worked_example));
        EXPECT_EQ(update_hosts_file(hosts, example.address), 0);
        EXPECT_EQ(file_bytes(hosts), file_text(example.lf_text)) << example.address;
        EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
    }
}

TEST(update_hosts_file, keeps_a_file_without_service_lines_byte_for_byte) {
    Cscratch_directory directory;
    const std::string hosts = directory / "hosts";
    const std::string text =
        file_text("# comment\n\n127.0.0.1\tlocalhost loopback\n::1 localhost # six\n");
    put_file_bytes(hosts, text);
    EXPECT_EQ(update_hosts_file(hosts, ""), 0);
    EXPECT_EQ(file_bytes(hosts), text);
}

TEST(update_hosts_file, creates_a_missing_file) {
    const struct {
        std::string address;
        std::string lf_text;
    } cases[] = {{"192.0.2.10", applied_pair}, {"", ""}};
    for (const auto& example : cases) {
        Cscratch_directory directory;
        const std::string hosts = directory / "hosts";
        EXPECT_EQ(update_hosts_file(hosts, example.address), 0);
        EXPECT_EQ(file_bytes(hosts), file_text(example.lf_text)) << example.address;
        EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
    }
}

TEST(update_hosts_file, fails_for_a_directory_that_does_not_exist) {
    Cscratch_directory directory;
    EXPECT_EQ(update_hosts_file((directory.path() / "none" / "hosts").string(), "192.0.2.10"), 1);
    EXPECT_EQ(names_in(directory.path()), strings{});
}

TEST(update_hosts_file, fails_and_keeps_what_cannot_be_read) {
    Cscratch_directory directory;
    const fs::path hosts = directory.path() / "hosts";
    fs::create_directory(hosts);
    put_file_bytes(hosts / "inside", "kept");
    EXPECT_EQ(update_hosts_file(hosts.string(), "192.0.2.10"), 1);
    ASSERT_TRUE(fs::is_directory(hosts));
    EXPECT_EQ(names_in(hosts), strings{"inside"});
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

// Sparse where the file system allows, so the test costs neither the disk nor the time.
TEST(update_hosts_file, refuses_a_file_larger_than_it_may_read_and_leaves_it) {
    Cscratch_directory directory;
    const fs::path hosts = directory.path() / "hosts";
    const std::string start = file_text(service_line);
    put_file_bytes(hosts, start);
    fs::resize_file(hosts, largest_hosts_file + 1);

    EXPECT_EQ(update_hosts_file(hosts.string(), "192.0.2.10"), 1);

    EXPECT_EQ(fs::file_size(hosts), largest_hosts_file + 1);
    std::ifstream kept(hosts, std::ios::binary);
    std::string kept_start(start.size(), '\0');
    kept.read(kept_start.data(), static_cast<std::streamsize>(kept_start.size()));
    EXPECT_EQ(kept_start, start);
    EXPECT_EQ(names_in(directory.path()), strings{"hosts"});
}

TEST(file_handle, reads_a_file_whole_only_within_the_bound) {
    Cscratch_directory directory;
    const std::string path = directory / "five";
    put_file_bytes(path, "12345");
    const struct {
        std::size_t most;
        bool read;
    } cases[] = {{0, false}, {4, false}, {5, true}, {6, true}, {1 << 20, true}};
    for (const auto& example : cases) {
        bool missing = false;
        std::optional<Cfile_handle> file = open_for_reading(path, missing);
        ASSERT_TRUE(file);
        std::string bytes = "earlier";
        EXPECT_EQ(file->read_all(bytes, example.most), example.read) << example.most;
        EXPECT_EQ(bytes, example.read ? "12345" : "") << example.most;
    }
}

// Mounts made for this test run by the scratch_mounts fixture (see tests/fixtures):
//   ro/          read-only bind mount of ro_source/
//   full/        a 64 KiB file system
//   bound/hosts  a file that is a mount point, bound from full/bound_source
class update_hosts_file_on_mounts : public testing::Test {
  protected:
    void SetUp() override {
        const char* scratch = std::getenv("KETRIN_SCRATCH_MOUNTS");
        if (scratch == nullptr) {
            GTEST_SKIP() << "KETRIN_SCRATCH_MOUNTS is not set: run through ctest";
        }
        mounts_ = scratch;
        empty_full_disk();
    }
    void TearDown() override {
        if (!mounts_.empty()) {
            empty_full_disk();
        }
    }

    void empty_full_disk() {
        fs::remove(mounts_ / "full" / "filler");
        fs::remove(mounts_ / "full" / "hosts");
        fs::remove(mounts_ / "ro_source" / "hosts");
        put_file_bytes(mounts_ / "bound" / "hosts", "");
    }

    // Takes every free block of the small file system.
    void fill_disk() {
        std::ofstream filler(mounts_ / "full" / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())).flush()) {
        }
        filler.clear();
        while (filler.put('f').flush()) {
        }
    }

    fs::path mounts_;
};

TEST_F(update_hosts_file_on_mounts, fails_on_a_read_only_file_system_and_keeps_the_file) {
    put_file_bytes(mounts_ / "ro_source" / "hosts", file_text(worked_example));
    EXPECT_EQ(update_hosts_file((mounts_ / "ro" / "hosts").string(), "192.0.2.10"), 1);
    EXPECT_EQ(file_bytes(mounts_ / "ro" / "hosts"), file_text(worked_example));
    EXPECT_EQ(names_in(mounts_ / "ro_source"), strings{"hosts"});
}

TEST_F(update_hosts_file_on_mounts, on_a_full_disk_keeps_the_old_text_or_writes_one_that_fits) {
    // The old text fills its blocks exactly, so an apply needs a block there is not; a reset
    // only shortens the file and can be written over the old text. The dropped first line
    // makes a half-written new text differ from the old one.
    const std::string kept =
        padded_lines("127.0.0.1 localhost\n", 8192 - file_text(service_line).size());
    const struct {
        std::string address;
        int result;
        std::string new_text;
    } cases[] = {{"192.0.2.10", 1, file_text(service_line + kept)}, {"", 0, file_text(kept)}};
    for (const auto& example : cases) {
        put_file_bytes(mounts_ / "full" / "hosts", file_text(service_line + kept));
        fill_disk();
        EXPECT_EQ(update_hosts_file((mounts_ / "full" / "hosts").string(), example.address),
                  example.result);
        EXPECT_EQ(file_bytes(mounts_ / "full" / "hosts"), example.new_text) << example.address;
        EXPECT_EQ(names_in(mounts_ / "full"), (strings{"bound_source", "filler", "hosts"}));
        empty_full_disk();
    }
}

TEST_F(update_hosts_file_on_mounts, rewrites_a_mounted_file_in_place) {
    const fs::path hosts = mounts_ / "bound" / "hosts";
    put_file_bytes(hosts, file_text(worked_example));
    EXPECT_EQ(update_hosts_file(hosts.string(), "192.0.2.10"), 0);
    EXPECT_EQ(file_bytes(hosts), file_text(worked_example_kept + applied_pair));
    EXPECT_EQ(file_bytes(mounts_ / "full" / "bound_source"),
              file_text(worked_example_kept + applied_pair));
    EXPECT_EQ(names_in(mounts_ / "bound"), strings{"hosts"});
}

TEST_F(update_hosts_file_on_mounts, a_mounted_file_on_a_full_disk_gets_its_old_text_back) {
    const fs::path hosts = mounts_ / "bound" / "hosts";
    const std::string old_text =
        file_text(service_line + padded_lines("", 8192 - file_text(service_line).size()));
    put_file_bytes(hosts, old_text);
    fill_disk();
    EXPECT_EQ(update_hosts_file(hosts.string(), "192.0.2.10"), 1);
    EXPECT_EQ(file_bytes(hosts), old_text);
    EXPECT_EQ(names_in(mounts_ / "bound"), strings{"hosts"});
}

}  // namespace
