// The system's share of a Generate: the reads and the write that Generate
// asks of the kernel, with no work per line. The template is read once in
// the same 256 KiB pieces (the layout is taken in the same pass) and written
// to a temporary file beside the output, which is synced and renamed over
// the output as a save does; with BYTES, only that many bytes are written
// (the patch's size). Plain system calls: neither Qt nor
// any library is loaded, so what is left is the kernel's.
// Usage: io_floor TEMPLATE OUTPUT [BYTES]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool copy(int in, int out, std::vector<char> &chunk, long long toWrite)
{
    for (;;) {
        const ssize_t got = read(in, chunk.data(), chunk.size());
        if (got <= 0)
            return got == 0;
        const auto wanted = static_cast<ssize_t>(std::min<long long>(got, toWrite));
        toWrite -= wanted;
        for (ssize_t done = 0; done < wanted;) {
            const ssize_t put = write(out, chunk.data() + done, static_cast<size_t>(wanted - done));
            if (put <= 0)
                return false;
            done += put;
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: io_floor TEMPLATE OUTPUT [BYTES]\n");
        return 2;
    }
    std::vector<char> chunk(1 << 18);
    const long long toWrite = argc == 4 ? std::atoll(argv[3]) : LLONG_MAX;
    const std::string temporary = std::string(argv[2]) + ".tmp";
    const int in = open(argv[1], O_RDONLY);
    const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = in >= 0 && out >= 0 && copy(in, out, chunk, toWrite) && fsync(out) == 0 &&
                    close(out) == 0 && rename(temporary.c_str(), argv[2]) == 0;
    if (!ok)
        std::perror("io_floor");
    return ok ? 0 : 1;
}
