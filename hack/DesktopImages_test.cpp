#include "hack/DesktopImages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Sources {
    const char* name;
    DesktopImageSources sources;
    bool allowed;
};

void PrintTo(const Sources& row, std::ostream* out)
{
    *out << row.name;
}

class GrabDesktopImages : public testing::TestWithParam<Sources> {};

TEST_P(GrabDesktopImages, ComesFromTheFirstSourceThatSaysIt)
{
    EXPECT_EQ(desktopImagesAllowed(GetParam().sources), GetParam().allowed);
}

// As XScreenSaver's settings application and Debian write them.
const std::string SavedFalse = "# XScreenSaver Preferences File\nmode:\t\tone\ngrabDesktopImages:\tFalse\n";
const std::string SavedTrue = "mode:\t\tone\ngrabDesktopImages:\tTrue\nlock:\t\tFalse\n";
const std::string DebianAppDefaults = "! XScreenSaver\n#error Do not run app-defaults files through xrdb!\n"
                                      "*mode:\t\t\trandom\n*grabDesktopImages:\tFalse\n*lock:\tFalse\n";

INSTANTIATE_TEST_SUITE_P(Hack, GrabDesktopImages, testing::Values(
    Sources{"NothingSaysItXScreenSaversDefault", {}, true},
    Sources{"DebianBeforeTheFirstSave", {"", "", DebianAppDefaults}, false},
    Sources{"DebianAfterASave", {SavedFalse, "", DebianAppDefaults}, false},
    Sources{"TickedInTheSettingsApplication", {SavedTrue, "", DebianAppDefaults}, true},
    Sources{"TheUsersFileOverTheResources", {SavedTrue, "*grabDesktopImages: False\n", ""}, true},
    Sources{"TheUsersFileSilentResourcesDecide", {"mode: one\n", "*grabDesktopImages: True\n", DebianAppDefaults}, true},
    Sources{"ResourcesOverTheAppDefaults", {"", "XScreenSaver.grabDesktopImages:\ton\n", DebianAppDefaults}, true},
    Sources{"ResourcesFalseOverAppDefaultsTrue", {"", "*grabDesktopImages: off\n", "*grabDesktopImages: True\n"}, false},
    Sources{"OtherProgramsResourcesDoNotCount", {"", "xterm*grabDesktopImages: True\n", DebianAppDefaults}, false},
    Sources{"ResourceOfTheProgramOverTheWildcard",
            {"", "xscreensaver.grabDesktopImages: True\n*grabDesktopImages: False\n", ""}, true},
    Sources{"WildcardDoesNotOverrideTheProgramsOwn",
            {"", "*grabDesktopImages: True\nXScreenSaver.grabDesktopImages: no\n", ""}, false},
    Sources{"OfTwoEqualResourcesTheLaterDecides",
            {"", "*grabDesktopImages: False\n*grabDesktopImages: True\n", DebianAppDefaults}, true},
    Sources{"ClassNameOfTheSetting", {"", "*GrabDesktopImages: yes\n", DebianAppDefaults}, true},
    // Values and names in any case, with blanks around.
    Sources{"UpperCaseFalse", {"grabDesktopImages:  FALSE  \n", "", ""}, false},
    Sources{"MixedCaseNo", {"GrabDesktopImages: No\r\n", "", ""}, false},
    Sources{"OnInAnyCase", {"grabdesktopimages:\tON\n", "", DebianAppDefaults}, true},
    Sources{"ANonsenseValueIsNotAYes", {"grabDesktopImages: maybe\n", "", ""}, false},
    // Only whole entries count: not a comment, not a word inside another line.
    Sources{"CommentedOut", {"# grabDesktopImages: True\n", "! *grabDesktopImages: True\n", DebianAppDefaults}, false},
    Sources{"InsideTheProgramsList",
            {"programs:\t\\\n  \"x\" hack -grabDesktopImages: True \\n\\\n\n", "", DebianAppDefaults}, false},
    Sources{"AContinuedLastLineEndsTheFile",
            {"grabDesktopImages: False\nprograms: \\", "", "*grabDesktopImages: True\n*a: \\"}, false},
    Sources{"TheLastLineOfAFileDecides", {"grabDesktopImages: True\ngrabDesktopImages: False\n", "", ""}, false}));

TEST(AppDefaults, AreFoundAlongTheSearchPath)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("second/app-defaults"));
    const std::string second = dir.path().toStdString() + "/second/app-defaults/XScreenSaver";
    QFile file(QString::fromStdString(second));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string base = dir.path().toStdString();
    EXPECT_EQ(appDefaultsFile(base + "/first/%T/%N%S:" + base + "/second/%L/%T/%N%C"), base + "/second//app-defaults/XScreenSaver");
    EXPECT_EQ(appDefaultsFile(base + "/first/%T/%N"), "");
}

} // namespace
