// read_bounded_file on files of any bytes and limits (the input's first two bytes are the limit):
// a file within the limit comes back byte for byte, a larger one not at all.
#include "prefixes/bounded_file.h"
#include "fuzz_check.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// One scratch file for the whole run, removed at its end.
class Cscratch_file {
  public:
    Cscratch_file() {
        const int fd = mkstemp(path_.data());
        if (fd < 0) {
            std::perror("bounded_file_fuzz: scratch file");
            std::abort();
        }
        close(fd);
    }
    ~Cscratch_file() { unlink(path_.c_str()); }

    const std::string& write(const std::string& bytes) const {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        FUZZ_CHECK(file != nullptr);
        FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
        FUZZ_CHECK(std::fclose(file) == 0);
        return path_;
    }

  private:
    std::string path_ = "/tmp/ketrin-bounded-fuzz.XXXXXX";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Cscratch_file scratch;
    if (size < 2) {
        return 0;
    }
    const std::size_t limit = static_cast<std::size_t>(data[0] | data[1] << 8);
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::optional<std::string> read = read_bounded_file(scratch.write(bytes), limit);
    if (bytes.size() <= limit) {
        FUZZ_CHECK(read == bytes);
    } else {
        FUZZ_CHECK(!read);
    }
    return 0;
}
