#include "pages/file_target.h"

#include "pages/text_compare.h"
#include "settings/fixed_string.h"

#include <algorithm>
#include <cstring>

namespace tolvan {

namespace {

// The type lists in the form a resource would give them, '|' for each separator; FileTypeFilter turns them into
// the dialog's form. Black and white scans cannot be JPEG files and colour scans cannot be GIF files.
constexpr std::string_view kColourTypes =
    "Bitmap files (*.bmp)|*.bmp|Tiff files (*.tif)|*.tif|Pcx files (*.pcx)|*.pcx|TGA files (*.tga)|*.tga|"
    "Png files (*.png)|*.png|";
constexpr std::string_view kTypesWithGif =
    "Bitmap files (*.bmp)|*.bmp|Tiff files (*.tif)|*.tif|Gif files (*.gif)|*.gif|Pcx files (*.pcx)|*.pcx|"
    "TGA files (*.tga)|*.tga|Png files (*.png)|*.png|";
constexpr std::string_view kJpegType = "JPEG files (*.jpg)|*.jpg|";
constexpr std::string_view kPdfType = "PDF files (*.pdf)|*.pdf|";

struct TypeIndex {
    uint32_t format;
    unsigned colour, gray, blackWhite; // by scan mode 1, 2, 4; 0: not offered
};
constexpr TypeIndex kTypeIndexes[] = {
    {0x1, 1, 1, 1},  {0x2, 2, 2, 2},  {0x40, 0, 3, 3}, {0x4, 3, 4, 4},
    {0x10, 4, 5, 5}, {0x20, 5, 6, 6}, {0x8, 6, 7, 0},  {0x400, 7, 8, 7},
};

// Searched in this order; a later find wins.
constexpr std::string_view kTypeExtensions[] = {".jpg", ".bmp", ".tif", ".pcx", ".gif",
                                                ".tga", ".png", ".txt", ".rtf", ".pdf"};

struct FormatExtension {
    std::string_view ext;
    uint32_t format;
};
constexpr FormatExtension kFormatExtensions[] = {{".BMP", 0x1}, {".JPG", 0x8},  {".TIF", 0x2},  {".GIF", 0x40},
                                                 {".PCX", 0x4}, {".TGA", 0x10}, {".PNG", 0x20}, {".PDF", 0x400}};

constexpr char kDefaultPrefix[] = "Image";
constexpr char kDefaultExtension[] = "BMP";
// A stored extension without its dot gives at most this many characters to the dialog.
constexpr std::size_t kDefaultExtensionChars = 7;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string FileTypeFilter(uint16_t scanMode) {
    std::string filter;
    switch (scanMode) {
    case 1:
        filter.append(kColourTypes).append(kJpegType).append(kPdfType);
        break;
    case 2:
        filter.append(kTypesWithGif).append(kJpegType).append(kPdfType);
        break;
    case 4:
        filter.append(kTypesWithGif).append(kPdfType);
        break;
    default:
        break;
    }
    filter.append("|");
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter;
}

unsigned FileTypeIndex(uint16_t scanMode, uint32_t format) {
    for (const TypeIndex& t : kTypeIndexes) {
        if (t.format != format)
            continue;
        switch (scanMode) {
        case 1:
            return t.colour;
        case 2:
            return t.gray;
        case 4:
            return t.blackWhite;
        default:
            return 0;
        }
    }
    return 0;
}

std::string_view FileTypeExtension(std::string_view typeText) {
    std::string_view found;
    for (std::string_view ext : kTypeExtensions)
        if (typeText.find(ext) != std::string_view::npos)
            found = ext;
    return found;
}

uint32_t FormatFromExtension(std::string_view ext) {
    for (const FormatExtension& f : kFormatExtensions)
        if (SameTextIgnoringCase(ext, f.ext))
            return f.format;
    return 0;
}

std::string CompleteWithTypeExtension(std::string_view path, std::string_view typeExt) {
    // What the user typed counts as the extension from the last dot on, even when that dot is in a folder name:
    // such a path never equals a type's extension, so it gets one.
    const std::size_t dot = path.rfind('.');
    const std::string_view typed = dot == std::string_view::npos ? path : path.substr(dot);
    std::string result(path);
    if (!SameTextIgnoringCase(typed, typeExt))
        result.append(typeExt);
    return result;
}

TargetParts SplitTargetPath(std::string_view path) {
    std::size_t nameStart = 0;
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) {
            nameStart = i;
            break;
        }
    }
    if (nameStart == 0 && path.size() >= 2 && path[1] == ':')
        nameStart = 2; // "C:name": the drive alone
    const std::string_view name = path.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    TargetParts parts;
    parts.folder = path.substr(0, nameStart);
    parts.prefix = dot == std::string_view::npos ? name : name.substr(0, dot);
    // Empty parts still point into the path: a null view would reach memmove when the part is stored.
    parts.ext = name.substr(dot == std::string_view::npos ? name.size() : dot);
    return parts;
}

bool StoreTarget(ApEntry& entry, std::string_view path) {
    const TargetParts parts = SplitTargetPath(path);
    if (parts.folder.size() >= sizeof entry.szFolder || parts.prefix.size() >= sizeof entry.szFilePrefix ||
        parts.ext.size() >= sizeof entry.szExt)
        return false;
    WriteField(entry.szFolder, parts.folder);
    WriteField(entry.szFilePrefix, parts.prefix);
    WriteField(entry.szExt, parts.ext);
    entry.dwFormat = FormatFromExtension(parts.ext);
    return true;
}

std::string TargetText(const ApEntry& entry) {
    std::string text(ReadField(entry.szFolder));
    text.append(ReadField(entry.szFilePrefix)).append(ReadField(entry.szExt));
    return text;
}

std::string DefaultExtension(const ApEntry& entry) {
    std::string_view ext = ReadField(entry.szExt);
    if (!ext.empty() && ext.front() == '.')
        ext.remove_prefix(1);
    ext = ext.substr(0, std::min(ext.size(), kDefaultExtensionChars));
    return ext.empty() ? std::string(kDefaultExtension) : std::string(ext);
}

std::string InitialFileName(const ApEntry& entry) {
    std::string name(ReadField(entry.szFolder));
    const std::string_view prefix = ReadField(entry.szFilePrefix);
    name.append(prefix.empty() ? std::string_view(kDefaultPrefix) : prefix);
    return name;
}

std::string ReplaceFileName(std::string_view text, std::string_view name) {
    const std::size_t slash = text.rfind('\\');
    std::string result(slash == std::string_view::npos ? std::string_view() : text.substr(0, slash + 1));
    result.append(name);
    return result;
}

std::vector<std::string> FoldersOnTheWay(std::string_view text) {
    std::vector<std::string> folders;
    for (std::size_t i = text.find('\\'); i != std::string_view::npos; i = text.find('\\', i + 1))
        folders.emplace_back(text.substr(0, i));
    return folders;
}

} // namespace tolvan
