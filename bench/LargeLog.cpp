#include "LargeLog.h"

#include "ResultsLog.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kwizmar::bench {

namespace {

// The whole file in a buffer that nothing fills first.
std::unique_ptr<char[]> ReadRaw(const std::filesystem::path& file, std::size_t& size) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        throw std::runtime_error("cannot open " + file.string());
    size = std::size_t(st.st_size);
    std::unique_ptr<char[]> bytes(new char[size]);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes.get() + done, size - done);
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    ::close(fd);
    size = done;
    return bytes;
}

} // namespace

std::string ResultLine(int number) {
    return std::to_string(number) +
           ". U\xBFytkownik Jan Kowalski przyst\xB9pi\xB3 do egzaminu \"Geografia Polski\" "
           "o godzinie 10:15:00 dnia 06.05.2002. Przewidywany czas egzaminu 10min. "
           "Liczba pyta\xF1 5. Maksymalna liczba punkt\xF3w 9. Egzamin trwa\xB3 3 minut "
           "i 12 sekund. Zdobyto 9pkt. (100%) a stracono 0pkt. Otrzymana ocena to: "
           "bardzo dobry.";
}

TLargeLog::TLargeLog(int lines) {
    root_ =
        std::filesystem::temp_directory_path() / ("kwizmar-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root_ / "data" / "Kwizmar");
    std::filesystem::create_directories(root_ / "etc");
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root_ / "etc").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    std::string bytes;
    for (int i = 1; i <= lines; ++i)
        bytes += ResultLine(i) + "\r\n";
    std::ofstream(Path(), std::ios::binary) << bytes;
}

TLargeLog::~TLargeLog() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path TLargeLog::Path() const {
    return root_ / "data" / "Kwizmar" / TResultsLog::kFileName;
}

std::size_t RawRead(const std::filesystem::path& file) {
    std::size_t size = 0;
    const std::unique_ptr<char[]> bytes = ReadRaw(file, size);
    return size;
}

std::size_t RawCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::size_t size = 0;
    const std::unique_ptr<char[]> bytes = ReadRaw(from, size);
    std::filesystem::path temp = to;
    temp += ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + temp.string());
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes.get() + done, size - done);
        if (n <= 0)
            throw std::runtime_error("cannot write " + temp.string());
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), to.c_str()) != 0)
        throw std::runtime_error("cannot write " + to.string());
    return size;
}

} // namespace kwizmar::bench
