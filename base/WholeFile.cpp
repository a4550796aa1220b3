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
    std::string read;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        read.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
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
