#include "db/locations.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

struct Layout
{
    const char* name;
    bool seedBeside;    // prefix/bin/Tallyhawk.orf, as in a build
    bool seedInstalled; // prefix/share/tallyhawk/Tallyhawk.orf, as installed
    const char* expected;
};

void PrintTo(const Layout& layout, std::ostream* out)
{
    *out << layout.name;
}

class ProgramDataFolder : public testing::TestWithParam<Layout>
{
};

void touch(const QString& path)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST_P(ProgramDataFolder, FindsTheFolderThatHoldsTheSeed)
{
    const Layout& layout = GetParam();
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
    // Pictures beside the program do not make it a build: only the seed decides.
    touch(prefix.filePath("bin/images/logo.png"));
    if (layout.seedBeside)
        touch(prefix.filePath("bin/Tallyhawk.orf"));
    if (layout.seedInstalled)
        touch(prefix.filePath("share/tallyhawk/Tallyhawk.orf"));

    EXPECT_EQ(programDataFolder(prefix.filePath("bin")), prefix.filePath(layout.expected));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ProgramDataFolder,
                         testing::Values(Layout{"Build", true, false, "bin"},
                                         Layout{"Installed", false, true, "share/tallyhawk"},
                                         Layout{"BuildOverInstalled", true, true, "bin"},
                                         Layout{"NeitherNamesTheBuildFolder", false, false, "bin"}),
                         [](const auto& info) { return std::string(info.param.name); });
