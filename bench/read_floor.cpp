// SPDX-License-Identifier: GPL-3.0-or-later
// The read floor: walks a folder tree and reads each regular file once in
// 256 KiB blocks, doing nothing with the bytes. No scanner can be faster over
// the same files, so the scanner's figures are given as a share of this one's.
//
// usage: read_floor FOLDER [JOBS]   (JOBS threads share the file list)
#include <atomic>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void Walk(const std::string &folder, std::vector<std::string> &files) {
    DIR *d = ::opendir(folder.c_str());
    if (!d)
        return;
    while (dirent *e = ::readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string p = folder + '/' + e->d_name;
        if (e->d_type == DT_DIR)
            Walk(p, files);
        else if (e->d_type == DT_REG)
            files.push_back(p);
    }
    ::closedir(d);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: read_floor FOLDER [JOBS]\n");
        return 2;
    }
    const int jobs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    std::vector<std::string> files;
    Walk(argv[1], files);
    std::atomic<size_t> next{0};
    std::atomic<long long> total{0};
    auto reader = [&] {
        std::vector<char> buf(256 * 1024);
        long long sum = 0;
        for (size_t i; (i = next++) < files.size();) {
            const int fd = ::open(files[i].c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            ssize_t got;
            while ((got = ::read(fd, buf.data(), buf.size())) > 0)
                sum += got;
            ::close(fd);
        }
        total += sum;
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < jobs; ++t)
        threads.emplace_back(reader);
    for (auto &t : threads)
        t.join();
    std::printf("%zu files, %lld bytes\n", files.size(), total.load());
    return 0;
}
