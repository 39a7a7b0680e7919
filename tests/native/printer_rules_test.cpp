// The portable rules of the copy pages' printers under the sanitizers: which names a list shows and which entry a
// stored name finds, both ways round for names that begin others; the RAvud blob's name fields; the device mode
// the RAvud page hands the print dialog, which must hold exactly as many bytes as it says.
#include "pages/printer_names.h"
#include "pages/ravud_blob.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tolvan {
namespace {

using Names = std::vector<std::string_view>;

TEST(PrinterNames, APrefixListKeepsOutANameThatAListedEntryBegins) {
    // The shorter name first: both are listed. The longer first: the shorter one is not.
    EXPECT_EQ(NamesToList({"Laser", "Laser_Colour"}, PrinterMatch::kPrefix), (Names{"Laser", "Laser_Colour"}));
    EXPECT_EQ(NamesToList({"Laser_Colour", "Laser"}, PrinterMatch::kPrefix), (Names{"Laser_Colour"}));
    EXPECT_EQ(NamesToList({"Laser_Colour", "LASER"}, PrinterMatch::kPrefix), (Names{"Laser_Colour"}));
    // The Copy page lists every name.
    EXPECT_EQ(NamesToList({"Laser_Colour", "Laser"}, PrinterMatch::kWholeName), (Names{"Laser_Colour", "Laser"}));
}

TEST(PrinterNames, AStoredNameFindsTheFirstEntryItBegins) {
    const Names listed{"Laser", "Laser_Colour", "Inkjet"};
    EXPECT_EQ(FindEntry(listed, "laser_c", PrinterMatch::kPrefix), 1);
    EXPECT_EQ(FindEntry(listed, "Laser", PrinterMatch::kPrefix), 0);
    EXPECT_EQ(FindEntry(listed, "Inkjet_2", PrinterMatch::kPrefix), -1);
    EXPECT_EQ(FindEntry(listed, "laser", PrinterMatch::kWholeName), -1);
    EXPECT_EQ(FindEntry(listed, "Inkjet", PrinterMatch::kWholeName), 2);
}

TEST(RAvudBlob, NamesFitOnlyWithTheirTerminatorAndUnterminatedOnesReadToTheFieldEnd) {
    EXPECT_TRUE(FitsRAvudBlob(std::string(31, 'p'), std::string(31, 'd')));
    EXPECT_FALSE(FitsRAvudBlob(std::string(32, 'p'), "d"));
    EXPECT_FALSE(FitsRAvudBlob("p", std::string(40, 'd')));

    auto bytes = std::make_unique<std::vector<uint8_t>>(kRAvudBlobSize, uint8_t{'N'});
    const RAvudBlob blob = ReadRAvudBlob(*bytes);
    EXPECT_EQ(ReadField(blob.szPrinterName), std::string(32, 'N'));
    EXPECT_EQ(ReadField(blob.szDriverName), std::string(32, 'N'));
    // Any other length holds no blob.
    bytes->resize(100);
    EXPECT_EQ(ReadField(ReadRAvudBlob(*bytes).szPrinterName), "");
}

std::vector<uint8_t> DevMode(uint16_t size, uint16_t extra, uint8_t fill) {
    std::vector<uint8_t> bytes(size_t{size} + extra, fill);
    bytes[kDevModeSizeOffset] = static_cast<uint8_t>(size);
    bytes[kDevModeSizeOffset + 1] = static_cast<uint8_t>(size >> 8);
    bytes[kDevModeDriverExtraOffset] = static_cast<uint8_t>(extra);
    bytes[kDevModeDriverExtraOffset + 1] = static_cast<uint8_t>(extra >> 8);
    return bytes;
}

TEST(RAvudBlob, TheDialogsDeviceModeHoldsExactlyWhatItSays) {
    const std::vector<uint8_t> own = DevMode(156, 8, 0x11);
    RAvudBlob blob{};
    // A stored part that claims the driver's whole structure and then some.
    const std::vector<uint8_t> stored = DevMode(156, 0xFFFF, 0x22);
    TakeDevModePart(blob, stored.data(), stored.size());

    const std::vector<uint8_t> block = DeviceModeForDialog(blob, own.data(), own.size());
    ASSERT_TRUE(IsWholeDevMode(block.data(), block.size()));
    EXPECT_EQ(block.size(), own.size());
    // The stored settings, then the printer's own bytes where the blob keeps none.
    EXPECT_EQ(block[0], 0x22);
    EXPECT_EQ(block[kRAvudDevModeBytes - 1], 0x22);
    EXPECT_EQ(block[kRAvudDevModeBytes], 0x11);
    EXPECT_EQ(block.back(), 0x11);

    // Never filled: the printer's own as it is.
    EXPECT_EQ(DeviceModeForDialog(RAvudBlob{}, own.data(), own.size()), own);
    // No whole device mode of the printer: the stored part alone, saying so.
    const std::vector<uint8_t> alone = DeviceModeForDialog(blob, own.data(), own.size() - 1);
    EXPECT_TRUE(IsWholeDevMode(alone.data(), alone.size()));
    EXPECT_EQ(alone.size(), kRAvudDevModeBytes);
    EXPECT_EQ(DeviceModeForDialog(blob, nullptr, 0).size(), kRAvudDevModeBytes);
    // A printer whose public part is shorter than the stored one keeps its driver's part.
    const std::vector<uint8_t> small = DevMode(100, 60, 0x33);
    const std::vector<uint8_t> mixed = DeviceModeForDialog(blob, small.data(), small.size());
    ASSERT_TRUE(IsWholeDevMode(mixed.data(), mixed.size()));
    EXPECT_EQ(mixed[99], 0x22);
    EXPECT_EQ(mixed[100], 0x33);
}

} // namespace
} // namespace tolvan
