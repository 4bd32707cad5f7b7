#include "engine/lockkeys.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using tessaly::LockKeyStates;
using tessaly::test::TempFolder;

namespace {

void WriteLed(const TempFolder& leds, const std::string& name, std::string_view brightness) {
    std::filesystem::create_directories(leds / name);
    leds.Write(name + "/brightness", brightness);
}

TEST(LockKeys, LedsOfAllKeyboardsGiveTheStates) {
    TempFolder leds;
    WriteLed(leds, "input3::capslock", "0\n");
    WriteLed(leds, "input7::capslock", "1\n"); // a second keyboard with Caps Lock lit
    WriteLed(leds, "input3::numlock", "0\n");
    WriteLed(leds, "input3::compose", "1\n");
    WriteLed(leds, "phy0-led", "1\n");
    WriteLed(leds, "input4::scrolllock", "garbage");
    EXPECT_EQ(tessaly::ReadLockLeds(leds.Path()), (LockKeyStates{true, false, std::nullopt}));
}

TEST(LockKeys, NoLedsMeansUnknown) {
    TempFolder empty;
    EXPECT_EQ(tessaly::ReadLockLeds(empty.Path()), LockKeyStates{});
    EXPECT_EQ(tessaly::ReadLockLeds(empty / "missing"), LockKeyStates{});
}

} // namespace
