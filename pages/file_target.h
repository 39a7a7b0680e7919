// The File job's target (folder, file name prefix, extension and the format that goes with it) and
// what the Save As dialog needs to choose it: the file types offered under each scan mode, the type
// preselected for a format, and the rules that turn the dialog's answer back into record fields.
// No window code here, so that all of it is tested natively.
#pragma once

#include "settings/job_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

// The file types offered under a scan mode, in the form OPENFILENAME wants: description and pattern of each
// type, each followed by a '\0', and one more '\0' at the end (the string's own terminator). An unknown mode
// offers no type at all.
std::string FileTypeFilter(uint16_t scanMode);
// The 1-based position of the format's type in that list; 0 when the mode has no type for it (the dialog then
// chooses itself).
unsigned FileTypeIndex(uint16_t scanMode, uint32_t format);

// The extension (with its dot) that a file type's description names: of the known extensions, the last one in
// the search order that the text contains. Empty when it names none.
std::string_view FileTypeExtension(std::string_view typeText);
// The format bit of an extension with its dot, whatever its case; 0 for any other extension.
uint32_t FormatFromExtension(std::string_view ext);

// The chosen path with the type's extension appended unless the path already ends in it (whatever its case). A
// name typed with another extension keeps it as part of the file name prefix.
std::string CompleteWithTypeExtension(std::string_view path, std::string_view typeExt);

// The three parts of a full path: drive and folder with its trailing separator, file name, and extension with
// its dot, as written in the path.
struct TargetParts {
    std::string_view folder;
    std::string_view prefix;
    std::string_view ext;
};
TargetParts SplitTargetPath(std::string_view path);

// Stores a chosen path as the entry's folder, prefix and extension, with the format of that extension. When any
// part does not fit its field the whole choice is refused and the entry stays as it was.
bool StoreTarget(ApEntry& entry, std::string_view path);

// The path the page shows: folder + prefix + extension.
std::string TargetText(const ApEntry& entry);
// The dialog's default extension: the stored one without its dot, or "BMP" when there is none.
std::string DefaultExtension(const ApEntry& entry);
// The dialog's initial file name: folder + prefix, or folder + "Image" without a prefix; no extension.
std::string InitialFileName(const ApEntry& entry);
// The text with its part after the last backslash replaced by name (the whole text when it has none).
std::string ReplaceFileName(std::string_view text, std::string_view name);
// Every folder on the way to the target, from the left: the text before each backslash. The last component,
// the file name, is not one of them.
std::vector<std::string> FoldersOnTheWay(std::string_view text);

} // namespace tolvan
