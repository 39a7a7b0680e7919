#include "cfg/settings_text.h"

#include "pages/record_rules.h"
#include "settings/job_table.h"
#include "settings/stream_name.h"
#include "settings/text_trim.h"

#include <cstdio>
#include <cstring>

namespace tolvan {

namespace {

constexpr std::string_view kHeaderWord = "tolvan-settings";
constexpr std::string_view kEndLine = "end";
constexpr std::string_view kExtraName = "extra";
constexpr std::string_view kHexPrefix = "hex:";

// Quoted text: every printable ASCII character stands for itself, so that Windows paths read as they are; a quote,
// a percent sign, control characters and bytes past ASCII are written as % and two hex digits.
std::string QuoteText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '%') {
            out += '%' + HexText({&byte, 1});
        } else {
            out += c;
        }
    }
    return out + '"';
}

bool UnquoteText(std::string_view value, std::string& out, std::string& message) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
        message = "not a text in quotes (or hex: with the field's bytes)";
        return false;
    }
    value = value.substr(1, value.size() - 2);
    out.clear();
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '"') {
            message = "a quote inside the text must be written %22";
            return false;
        }
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        std::vector<uint8_t> byte;
        if (!ParseHexText(value.substr(i + 1, 2), byte) || byte.size() != 1) {
            message = "% is not followed by two hex digits";
            return false;
        }
        out += static_cast<char>(byte[0]);
        i += 2;
    }
    return true;
}

uint8_t* FieldBytes(JobRecord& record, const RecordField& field) {
    return reinterpret_cast<uint8_t*>(&record) + field.offset;
}

const uint8_t* FieldBytes(const JobRecord& record, const RecordField& field) {
    return reinterpret_cast<const uint8_t*>(&record) + field.offset;
}

// A string field whose bytes a text in quotes gives back exactly: a terminator, and nothing but zeros after it.
bool IsPlainString(const uint8_t* bytes, std::size_t width) {
    const void* end = std::memchr(bytes, 0, width);
    if (!end)
        return false;
    for (auto* p = static_cast<const uint8_t*>(end); p != bytes + width; ++p)
        if (*p != 0)
            return false;
    return true;
}

bool SetStringField(JobRecord& record, const RecordField& field, std::string_view value, std::string& message) {
    uint8_t* bytes = FieldBytes(record, field);
    if (value.substr(0, kHexPrefix.size()) == kHexPrefix) {
        std::vector<uint8_t> raw;
        if (!ParseHexText(value.substr(kHexPrefix.size()), raw) || raw.size() != field.width) {
            message = "hex: must give exactly " + std::to_string(field.width) + " bytes";
            return false;
        }
        std::memcpy(bytes, raw.data(), raw.size());
        return true;
    }
    std::string text;
    if (!UnquoteText(value, text, message))
        return false;
    if (text.size() >= field.width) {
        message = "longer than the field's " + std::to_string(field.width - 1) + " characters";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        message = "a text cannot hold a zero byte (%00)";
        return false;
    }
    std::memset(bytes, 0, field.width);
    std::memcpy(bytes, text.data(), text.size());
    return true;
}

bool SetNumberField(JobRecord& record, const RecordField& field, std::string_view value, std::string& message) {
    const std::optional<uint32_t> number = ParseNumber(value);
    if (!number) {
        message = "not a number (decimal or 0x hex)";
        return false;
    }
    if (field.width < 4 && (*number >> (8 * field.width)) != 0) {
        message = "too large for a " + std::to_string(8 * field.width) + "-bit field";
        return false;
    }
    std::memcpy(FieldBytes(record, field), &*number, field.width); // little-endian: the low bytes first
    return true;
}

class Parser {
public:
    Parser(SettingsText& out, std::vector<TextFault>& faults) : m_out(out), m_faults(faults) {}

    void Run(std::string_view text);

private:
    void Fault(std::string field, std::string message) { m_faults.push_back({m_line, std::move(field), message}); }
    void Header(std::string_view line);
    void Section(std::string_view line);
    void Setting(std::string_view line);
    // Checks the job whose section ends here: every field given, and values its page could have written.
    void EndJob();

    SettingsText& m_out;
    std::vector<TextFault>& m_faults;
    int m_line = 0;
    bool m_header = false;
    bool m_ended = false;
    bool m_inJob = false;     // inside a known job's section
    bool m_skipping = false;  // inside a section that was refused: its settings are not looked at
    std::vector<int> m_given; // per field of the job, the line that gave it (0: not given)
    int m_extraLine = 0;
};

void Parser::Run(std::string_view text) {
    while (!text.empty()) {
        ++m_line;
        const std::size_t eol = text.find('\n');
        const std::string_view line = Trim(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (m_ended) {
            Fault("", "text after the closing \"end\" line");
            return;
        }
        if (!m_header)
            Header(line);
        else if (line == kEndLine) {
            EndJob();
            m_ended = true;
        } else if (line.front() == '[')
            Section(line);
        else
            Setting(line);
    }
    if (!m_header) {
        Fault("", "empty: no \"tolvan-settings\" header line");
        return;
    }
    if (!m_ended) {
        EndJob();
        Fault("", "the file ends early: its closing \"end\" line is missing");
    }
    if (m_out.jobs.empty() && m_faults.empty())
        Fault("", "no job section");
}

void Parser::Header(std::string_view line) {
    m_header = true;
    m_out.headerLine = m_line;
    // tolvan-settings VERSION model "NAME"
    const std::size_t sp1 = line.find(' ');
    const std::string_view word = line.substr(0, sp1);
    if (word != kHeaderWord || sp1 == std::string_view::npos) {
        Fault("", "not a settings export: the first line must be: tolvan-settings 1 model \"NAME\"");
        return;
    }
    std::string_view rest = Trim(line.substr(sp1 + 1));
    const std::size_t sp2 = rest.find(' ');
    const std::optional<uint32_t> version = ParseNumber(rest.substr(0, sp2));
    if (!version || *version != kSettingsTextVersion) {
        Fault("version", "format version " + std::string(rest.substr(0, sp2)) + " is not known; this tool reads " +
                             std::to_string(kSettingsTextVersion));
        return;
    }
    rest = sp2 == std::string_view::npos ? std::string_view{} : Trim(rest.substr(sp2 + 1));
    if (rest.substr(0, 6) != "model ") {
        Fault("model", "the header names no model");
        return;
    }
    std::string message;
    if (!UnquoteText(Trim(rest.substr(6)), m_out.modelName, message))
        Fault("model", message);
    else if (m_out.modelName.empty() || m_out.modelName.size() >= kElementNameChars)
        Fault("model", "a model name has 1 to 31 characters");
}

void Parser::Section(std::string_view line) {
    EndJob();
    if (line.back() != ']' || line.substr(0, 5) != "[job ") {
        Fault("", "unknown section " + std::string(line) + " (sections are [job NAME])");
        m_skipping = true;
        return;
    }
    const std::string_view caption = Trim(line.substr(5, line.size() - 6));
    const JobInfo* info = FindJobByCaption(caption);
    if (!info) {
        Fault("", "unknown job \"" + std::string(caption) + "\"");
        m_skipping = true;
        return;
    }
    for (const StoredJob& other : m_out.jobs) {
        if (other.mask == info->mask) {
            Fault("", "job " + std::string(caption) + " is given twice");
            m_skipping = true;
            return;
        }
    }
    StoredJob& job = m_out.jobs.emplace_back();
    job.mask = info->mask;
    m_out.jobLines.push_back(m_line);
    m_given.assign(RecordFields().size(), 0);
    m_extraLine = 0;
    m_inJob = true;
    m_skipping = false;
}

void Parser::Setting(std::string_view line) {
    if (m_skipping)
        return;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        Fault("", "expected FIELD = VALUE");
        return;
    }
    const std::string_view name = Trim(line.substr(0, eq));
    const std::string_view value = Trim(line.substr(eq + 1));
    if (!m_inJob) {
        Fault(std::string(name), "a setting outside a [job NAME] section");
        return;
    }
    StoredJob& job = m_out.jobs.back();
    int* given = &m_extraLine;
    if (name != kExtraName) {
        const RecordField* field = FindRecordField(name);
        if (!field) {
            Fault(std::string(name), "not a field of the job record");
            return;
        }
        given = &m_given[static_cast<std::size_t>(field - RecordFields().data())];
    }
    if (*given != 0) {
        Fault(std::string(name), "given twice (first on line " + std::to_string(*given) + ")");
        return;
    }
    *given = m_line;
    std::string message;
    if (!SetFieldFromText(job, name, value, message))
        Fault(std::string(name), message);
}

void Parser::EndJob() {
    if (!m_inJob)
        return;
    m_inJob = false;
    const StoredJob& job = m_out.jobs.back();
    const int sectionLine = m_out.jobLines.back();
    bool whole = m_extraLine != 0;
    std::string missing;
    for (std::size_t i = 0; i < m_given.size(); ++i) {
        if (m_given[i] == 0) {
            missing += missing.empty() ? "" : ", ";
            missing += RecordFields()[i].name;
            whole = false;
        }
    }
    if (m_extraLine == 0)
        missing += missing.empty() ? "extra" : ", extra";
    const int here = m_line;
    if (!whole) {
        m_faults.push_back({sectionLine, "", "the job's section lacks " + missing});
        return;
    }
    // Faults in values a field could hold are reported once; the page's rules are asked only of well-formed jobs.
    for (const TextFault& fault : m_faults)
        if (fault.line > sectionLine && fault.line <= here)
            return;
    for (const RecordFault& fault : CheckJobRecord(job.mask, job.record, job.extra)) {
        const RecordField* field = FindRecordField(fault.field);
        const int line = field ? m_given[static_cast<std::size_t>(field - RecordFields().data())] : m_extraLine;
        m_faults.push_back({line, std::string(fault.field), fault.message});
    }
}

} // namespace

std::string BlobText(std::span<const uint8_t> blob) {
    return HexText(blob);
}

std::string FieldValueText(const StoredJob& job, const RecordField& field) {
    if (field.kind != FieldKind::kString)
        return FormatRecordField(job.record, field);
    const uint8_t* bytes = FieldBytes(job.record, field);
    if (IsPlainString(bytes, field.width))
        return QuoteText(reinterpret_cast<const char*>(bytes));
    return std::string(kHexPrefix) + BlobText({bytes, field.width});
}

std::string WriteSettingsText(std::string_view modelName, std::span<const StoredJob> jobs) {
    std::string out = "# Tolvan button settings, written by tolvancfg export. The README describes the format.\n";
    out +=
        std::string(kHeaderWord) + " " + std::to_string(kSettingsTextVersion) + " model " + QuoteText(modelName) + "\n";
    for (const StoredJob& job : jobs) {
        const JobInfo* info = FindJob(job.mask);
        if (!info)
            continue;
        out += "\n[job " + std::string(info->caption) + "]\n";
        for (const RecordField& field : RecordFields())
            out += std::string(field.name) + " = " + FieldValueText(job, field) + "\n";
        out += std::string(kExtraName) + " = " + BlobText(job.extra) + "\n";
    }
    out += "\n" + std::string(kEndLine) + "\n";
    return out;
}

bool SetFieldFromText(StoredJob& job, std::string_view name, std::string_view value, std::string& message) {
    if (name == kExtraName) {
        std::vector<uint8_t> blob;
        if (value.size() > 2 * kMaxBlobBytes) {
            message = "longer than any blob a job keeps";
            return false;
        }
        if (!ParseHexText(value, blob)) {
            message = "not hex bytes (two hex digits a byte)";
            return false;
        }
        job.extra = std::move(blob);
        return true;
    }
    const RecordField* field = FindRecordField(name);
    if (!field) {
        message = "not a field of the job record";
        return false;
    }
    JobRecord record = job.record;
    bool ok = false;
    if (field->kind == FieldKind::kString) {
        ok = SetStringField(record, *field, value, message);
    } else if (field->kind == FieldKind::kBytes) {
        ok = SetRecordField(record, *field, value);
        if (!ok)
            message = "must be " + std::to_string(field->width) + " bytes in hex";
    } else {
        ok = SetNumberField(record, *field, value, message);
    }
    if (ok)
        job.record = record;
    return ok;
}

bool ParseSettingsText(std::string_view text, SettingsText& out, std::vector<TextFault>& faults) {
    out = {};
    faults.clear();
    Parser(out, faults).Run(text);
    return faults.empty();
}

} // namespace tolvan
