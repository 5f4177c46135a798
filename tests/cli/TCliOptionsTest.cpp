#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>

#include "support/TTempDir.h"

namespace norvale {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct TRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

TRun RunCli(const QStringList& args, const std::string& runtimeDir) {
    QProcess process;
    // Without a runtime folder Qt warns on stderr, which must hold only our own text.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtimeDir));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(NORVALE_CLI_PATH), args);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST(TCliOptionsTest, ExitCodesAndUsageOfTheCommandLine) {
    test::TIsolatedHome home;  // the child inherits it
    const test::TTempDir runtime;
    const std::string data = home.Dir().Path() + "cli-data";
    const QString dataDir = QString::fromStdString(data);
    struct TCase {
        QStringList args;
        int exitCode;
        const char* errorLine;  // "" when stderr must stay empty
    };
    const TCase cases[] = {
        {{}, 2, "No command given"},
        {{"--data-dir", dataDir}, 2, "No command given"},
        {{"--help"}, 0, ""},
        {{"--data-dir", dataDir, "--set", "Mine", "--help"}, 0, ""},
        {{"--bogus"}, 2, "Unknown option --bogus"},
        {{"--data-dir"}, 2, "--data-dir needs a value"},
        {{"--data-dir", dataDir, "no-such-command"}, 2, "Unknown command no-such-command"},
    };
    for (const auto& c : cases) {
        const std::string what = c.args.join(' ').toStdString();
        const TRun run = RunCli(c.args, runtime.Path());
        EXPECT_EQ(run.exitCode, c.exitCode) << what;
        if (c.exitCode == 0) {
            EXPECT_THAT(run.out, StartsWith("Usage: norvale-cli")) << what;
            EXPECT_THAT(run.err, IsEmpty()) << what;
        } else {
            EXPECT_THAT(run.err, HasSubstr(c.errorLine)) << what;
            EXPECT_THAT(run.err,
                        HasSubstr("Usage: norvale-cli [--data-dir DIR] [--set NAME] COMMAND"))
                << what;
            EXPECT_THAT(run.out, IsEmpty()) << what;
        }
    }
    // A command line refused as such touches nothing: the data folder is not even created.
    EXPECT_FALSE(std::filesystem::exists(data));
    EXPECT_FALSE(std::filesystem::exists(home.DataFolder()));
}

}  // namespace
}  // namespace norvale
