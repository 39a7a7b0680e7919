#include "driver/apinfo/catalogue_text.h"

#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/ap_list.h"
#include "settings/fixed_string.h"
#include "settings/record_fields.h"
#include "settings/text_trim.h"

namespace tolvan::apinfo {

namespace {

// Fields that the tool fills in itself, or that belong to a job record rather than to an entry.
bool Settable(const RecordField& field) {
    return field.offset >= kApEntryOffset && field.name != "wApSize" && field.name != "dwExtraLen" &&
           field.name != "pExtraLow";
}

struct Pending {
    JobRecord record{};
    int line = 0;
    bool hasId = false;
    bool hasCategory = false;
};

std::string At(int line, const std::string& why) {
    return "line " + std::to_string(line) + ": " + why;
}

bool Finish(const Pending& pending, std::vector<ApEntry>& out, std::string& error) {
    ApEntry entry = pending.record.ap;
    // Whatever other options the text sets, a catalogue entry is searched for by its program name.
    entry.dwApOptions |= ApOption::kShipped;
    if (!pending.hasId || !pending.hasCategory || ReadField(entry.szApName).empty())
        return error = At(pending.line, "an application needs wApId, dwApCategory and szApName"), false;
    if (ProgramName(entry).empty())
        return error = At(pending.line, "szExeName must be a plain file name"), false;
    if (entry.dwApCategory == 0)
        return error = At(pending.line, "dwApCategory must not be 0"), false;
    for (const ApEntry& other : out) {
        if (other.dwApCategory != entry.dwApCategory)
            continue;
        if (other.wApId == entry.wApId)
            return error = At(pending.line, "the id is already used in this category"), false;
        if (SameName(ReadField(other.szApName), ReadField(entry.szApName)))
            return error = At(pending.line, "the name is already used in this category"), false;
    }
    if (out.size() >= kMaxEntries)
        return error = At(pending.line, "too many applications"), false;
    out.push_back(entry);
    return true;
}

bool ParseInto(std::string_view text, std::vector<ApEntry>& out, std::string& error) {
    Pending pending;
    bool inApp = false;
    int lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        const std::size_t eol = text.find('\n');
        const std::string_view line = Trim(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (Trim(line) != "[app]")
                return error = At(lineNo, "only [app] sections are known"), false;
            if (inApp && !Finish(pending, out, error))
                return false;
            pending = {};
            pending.line = lineNo;
            pending.record.ap.wApSize = kApEntrySize;
            inApp = true;
            continue;
        }
        if (!inApp)
            return error = At(lineNo, "setting outside an [app] section"), false;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return error = At(lineNo, "expected name = value"), false;
        const std::string_view name = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        const RecordField* field = FindRecordField(name);
        if (!field || !Settable(*field))
            return error = At(lineNo, "unknown or derived entry field"), false;
        if (!SetRecordField(pending.record, *field, value))
            return error = At(lineNo, "value does not fit the field"), false;
        pending.hasId |= name == "wApId";
        pending.hasCategory |= name == "dwApCategory";
    }
    return !inApp || Finish(pending, out, error);
}

} // namespace

bool ParseCatalogueText(std::string_view text, std::vector<ApEntry>& out, std::string& error) {
    out.clear();
    if (ParseInto(text, out, error))
        return true;
    out.clear();
    return false;
}

} // namespace tolvan::apinfo
