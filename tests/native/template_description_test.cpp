// The template description: what a valid text yields, and that every kind of mistake is refused with the line
// it is on.
#include "tools/template_description.h"

#include "settings/job_table.h"
#include "settings/record_fields.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tolvan {
namespace {

const TemplateJob* FindJobIn(const TemplateDescription& description, uint32_t mask) {
    for (const TemplateJob& job : description.jobs)
        if (job.mask == mask)
            return &job;
    return nullptr;
}

TEST(TemplateDescription, ValidDescription) {
    const std::string text = "# comments, blank lines, CRLF, indentation and a last line without newline\r\n"
                             "\r\n"
                             "[model]\r\n"
                             "  name = TV-100\r\n"
                             "jobs =  Email   File Office\n"
                             "\n"
                             "[ job Email ]\n"
                             "\tbColorModes\t=\t0x7\n"
                             "wResolution = 150\n"
                             "dwFormats = 0x409\n"
                             "szExt = .JPG\n"
                             "abHeader = 00a1b2c3d4e5\n"
                             "[job Office]\n"
                             "szFolder = C:\\Scans\\a=b\n"
                             "extra = 262\n"
                             "# a job in the set need not be described\n"
                             "[model]\n"
                             "name = TV-200";
    TemplateDescription description;
    std::string error;
    ASSERT_TRUE(ParseTemplateDescription(text, description, error)) << error;

    EXPECT_EQ(description.modelName, "TV-200") << "a later name replaces an earlier one";
    EXPECT_EQ(description.jobSet, JobMask::kEmail | JobMask::kFile | JobMask::kOffice);
    ASSERT_EQ(description.jobs.size(), 2u);
    EXPECT_EQ(description.jobs[0].mask, JobMask::kEmail) << "jobs keep the order of the text";
    EXPECT_EQ(description.jobs[1].mask, JobMask::kOffice);

    // Members of the packed record are copied out before comparing: a reference to one may be misaligned.
    const JobRecord& email = description.jobs[0].record;
    EXPECT_EQ(email.bColorModes, 7);
    EXPECT_EQ(uint16_t{email.wResolution}, 150);
    EXPECT_EQ(uint32_t{email.ap.dwFormats}, 0x409u);
    EXPECT_STREQ(email.ap.szExt, ".JPG");
    EXPECT_EQ(email.abHeader[0], 0x00);
    EXPECT_EQ(email.abHeader[5], 0xE5);
    EXPECT_EQ(uint32_t{email.ap.dwJobMask}, JobMask::kEmail);
    EXPECT_EQ(uint16_t{email.ap.wApSize}, kApEntrySize);
    EXPECT_EQ(uint32_t{email.ap.dwExtraLen}, 0u);
    EXPECT_TRUE(description.jobs[0].extra.empty());
    // Fields the text leaves out stay zero.
    EXPECT_EQ(uint16_t{email.wColorMode}, 0);
    EXPECT_EQ(uint32_t{email.dwStored}, 0u);
    EXPECT_EQ(email.ap.szApName[0], '\0');

    const TemplateJob& office = description.jobs[1];
    EXPECT_STREQ(office.record.ap.szFolder, "C:\\Scans\\a=b") << "the value runs from the first '='";
    EXPECT_EQ(uint32_t{office.record.ap.dwExtraLen}, 262u);
    EXPECT_EQ(office.extra, std::vector<uint8_t>(262, 0));

    // A second parse starts from nothing.
    ASSERT_TRUE(ParseTemplateDescription("[model]\nname = X\njobs = Copy\n[job Copy]\n", description, error));
    EXPECT_EQ(description.jobSet, JobMask::kCopy);
    ASSERT_EQ(description.jobs.size(), 1u);
    EXPECT_EQ(description.jobs[0].mask, JobMask::kCopy);
}

TEST(TemplateDescription, ShippedDriverDescriptionIsValid) {
    std::ifstream in(TOLVAN_DRIVER_DESCRIPTION, std::ios::binary);
    ASSERT_TRUE(in) << TOLVAN_DRIVER_DESCRIPTION;
    std::stringstream text;
    text << in.rdbuf();
    TemplateDescription description;
    std::string error;
    ASSERT_TRUE(ParseTemplateDescription(text.str(), description, error)) << error;
    EXPECT_FALSE(description.modelName.empty());
    // Every job the driver offers has its record, so the program never starts a job from nothing.
    for (const JobInfo& job : kJobs) {
        if (description.jobSet & job.mask) {
            EXPECT_NE(FindJobIn(description, job.mask), nullptr) << job.caption;
        }
    }
}

TEST(TemplateDescription, ErrorsNameTheirLine) {
    const std::string model = "[model]\nname = M\njobs = Email File\n"; // lines 1 to 3
    const std::string email = model + "[job Email]\n";                  // line 4
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"[model\n", "line 1: unterminated section header"},
        {"[\n", "line 1: unterminated section header"},
        {model + "[jobs Email]\n", "line 4: unknown section"},
        {model + "[job]\n", "line 4: unknown section"},
        {model + "[]\n", "line 4: unknown section"},
        {model + "[job Fax]\n", "line 4: unknown job"},
        {model + "[job email]\n", "line 4: unknown job"},
        {email + "[job File]\n[ job  Email ]\n", "line 6: job described twice"},
        {email + "wResolution 300\n", "line 5: expected name = value"},
        {"[model]\nname =\n", "line 2: a model name has 1 to 31 characters"},
        {"[model]\nname = " + std::string(32, 'm') + "\n", "line 2: a model name has 1 to 31 characters"},
        {"[model]\nname = M\njobs = Email Fax\n", "line 3: unknown job in the job set"},
        {"[model]\nmodel = M\n", "line 2: unknown model setting"},
        {"# nothing yet\nwResolution = 300\n", "line 2: setting outside a section"},
        {model + "[job Email]\n[model]\nwResolution = 300\n", "line 6: unknown model setting"},
        {email + "extra = 65537\n", "line 5: bad extra blob size"},
        {email + "extra = lots\n", "line 5: bad extra blob size"},
        {email + "extra = -1\n", "line 5: bad extra blob size"},
        {email + "szFoo = 1\n", "line 5: unknown or derived record field"},
        {email + "= 1\n", "line 5: unknown or derived record field"},
        {email + "dwExtraLen = 4\n", "line 5: unknown or derived record field"},
        {email + "pExtraLow = 0\n", "line 5: unknown or derived record field"},
        {email + "dwJobMask = 0x40\n", "line 5: unknown or derived record field"},
        {email + "wApSize = 10\n", "line 5: unknown or derived record field"},
        {email + std::string("szApName = a\0b\n", 15), "line 5: value does not fit the field"},
        {"[model]\nname = a/b\n", "line 2: a model name cannot hold \\ / : or !"},
        {"[model]\nname = a!b\n", "line 2: a model name cannot hold \\ / : or !"},
        {email + "wResolution = 70000\n", "line 5: value does not fit the field"},
        {email + "bColorModes = 0x100\n", "line 5: value does not fit the field"},
        {email + "szExt = .JPEGJPEG\n", "line 5: value does not fit the field"},
        {email + "abHeader = 0102\n", "line 5: value does not fit the field"},
        {email + "dwFormats = 0x40g\n", "line 5: value does not fit the field"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TemplateDescription description;
        std::string error;
        EXPECT_FALSE(ParseTemplateDescription(c.text, description, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(TemplateDescription, WholeDescriptionErrors) {
    struct Case {
        std::string text;
        std::string why;
    };
    const Case cases[] = {
        {"", "the model has no name"},
        {"[model]\njobs = Email\n[job Email]\n", "the model has no name"},
        {"[model]\nname = M\njobs = Email File\n[job Email]\n[job Copy]\nwResolution = 300\n",
         "line 5: a job is described but not offered"},
        {"[job RAvud]\nextra = 214\n[model]\nname = M\n", "line 1: a job is described but not offered"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TemplateDescription description;
        std::string error;
        EXPECT_FALSE(ParseTemplateDescription(c.text, description, error));
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
    }
}

TEST(TemplateDescription, JobSetSeparatedByTabsOrSpaces) {
    TemplateDescription description;
    std::string error;
    ASSERT_TRUE(ParseTemplateDescription("[model]\nname = M\njobs = Email\tFile  Copy\n", description, error)) << error;
    EXPECT_EQ(description.jobSet, 0x100u | 0x40u | 0x200u);
}

TEST(TemplateDescription, ModelNameOf31CharactersFits) {
    TemplateDescription description;
    std::string error;
    const std::string name(31, 'm');
    ASSERT_TRUE(ParseTemplateDescription("[model]\nname = " + name + "\n", description, error)) << error;
    EXPECT_EQ(description.modelName, name);
}

} // namespace
} // namespace tolvan
