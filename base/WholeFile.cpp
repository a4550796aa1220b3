#include "WholeFile.h"

#include "Errors.h"
#include "Paths.h"

#include <fstream>
#include <system_error>

namespace kwizmar {

TWholeFileRead TryReadWholeFile(const std::filesystem::path& path, std::string& bytes,
                                std::uintmax_t maxBytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return TWholeFileRead::Missing;
    if (std::filesystem::is_directory(status))
        return TWholeFileRead::Folder;
    if (maxBytes != kNoSizeLimit) {
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (ec || size > maxBytes)
            return TWholeFileRead::TooLarge;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return TWholeFileRead::CannotOpen;
    // Read straight into a string of the file's size; a file that grows
    // meanwhile is read on to its end.
    std::string read;
    const std::uintmax_t expected = std::filesystem::file_size(path, ec);
    std::size_t done = 0;
    read.resize(ec ? 65536 : static_cast<std::size_t>(expected) + 1);
    while (in) {
        if (done == read.size())
            read.resize(read.size() * 2);
        in.read(read.data() + done, static_cast<std::streamsize>(read.size() - done));
        done += static_cast<std::size_t>(in.gcount());
    }
    read.resize(done);
    if (in.bad())
        return TWholeFileRead::CannotRead;
    bytes = std::move(read);
    return TWholeFileRead::Read;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
    switch (TryReadWholeFile(path, bytes)) {
    case TWholeFileRead::Read:
        return true;
    case TWholeFileRead::Missing:
        return false;
    default:
        throw EFOpenError(Utf8FromPath(path));
    }
}

} // namespace kwizmar
