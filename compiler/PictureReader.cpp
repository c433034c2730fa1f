#include "compiler/PictureReader.h"

#include "compiler/BmpDecoder.h"
#include "compiler/InputFile.h"
#include "formats/BmpHeader.h"

#include <algorithm>
#include <memory>

namespace vv::pdb {

std::optional<Picture> PictureReader::decode(std::string_view bytes, std::string* error) {
    const formats::BmpCheck check = formats::checkBmpFile(bytes);
    if (!check.ok()) {
        if (error)
            *error = check.problem;
        return std::nullopt;
    }
    return decodeBmp(bytes, check.header, error);
}

std::optional<Picture> PictureReader::read(const std::string& path, std::string* error) {
    InputFile file;
    if (!file.open(path, error))
        return std::nullopt;
    // The header says how large the file may be before the whole is read.
    const std::optional<std::string> head =
        file.read(std::min<std::int64_t>(file.size(), formats::kBmpHeadSize), error);
    if (!head)
        return std::nullopt;
    const std::int64_t largest = formats::largestBmpFileFor(*head);
    if (file.size() > largest) {
        if (error)
            *error = largest > std::int64_t(head->size())
                         ? "the file has " + std::to_string(file.size()) +
                               " bytes, more than its BMP header accounts for (" + std::to_string(largest) +
                               ")"
                         : formats::checkBmpFile(*head).problem;
        if (error && error->empty())
            *error = "the BMP header does not describe a picture this compiler reads";
        return std::nullopt;
    }
    const auto bytes = std::make_unique_for_overwrite<char[]>(std::size_t(file.size()));
    if (!file.readInto(bytes.get(), file.size(), error))
        return std::nullopt;
    return decode(std::string_view(bytes.get(), std::size_t(file.size())), error);
}

} // namespace vv::pdb
