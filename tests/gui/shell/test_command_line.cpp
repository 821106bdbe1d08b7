// The kelvane command line: what it accepts and refuses, and the program
// itself started with it.

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "gui/gui_test_support.h"
#include "gui/shell/command_line.h"
#include "gui/shell/first_start.h"
#include "platform/host_file_system.h"

namespace kelvane {
namespace {

using action = launch_options::action;

TEST(command_line, reads_the_options_and_refuses_what_it_does_not_know) {
    EXPECT_EQ(action::run, read_command_line({}, false).what);
    for (const QStringList& args :
         {QStringList{"--screenshot", "a b.png"}, QStringList{"--screenshot=a b.png"}}) {
        const launch_options o = read_command_line(args, false);
        EXPECT_EQ(action::run, o.what);
        EXPECT_EQ("a b.png", o.screenshot);
    }
    EXPECT_EQ(action::help, read_command_line({"--bogus", "--help"}, true).what);
    EXPECT_EQ(action::help, read_command_line({"-h"}, false).what);
    EXPECT_EQ(action::version, read_command_line({"--version"}, false).what);

    // A missing file is an error, also where unknown options are passed over.
    for (const QStringList& args : {QStringList{"--screenshot"}, QStringList{"--screenshot="},
                                    QStringList{"--screenshot", "--version"}}) {
        for (bool lenient : {false, true}) {
            const launch_options o = read_command_line(args, lenient);
            EXPECT_EQ(action::error, o.what) << args.join(' ').toStdString();
            EXPECT_TRUE(o.error.contains("--screenshot")) << o.error.toStdString();
        }
    }
    const launch_options twice =
        read_command_line({"--screenshot", "a.png", "--screenshot=b.png"}, false);
    EXPECT_EQ(action::error, twice.what);

    // Before the toolkit has taken its own options they are passed over; after, refused.
    EXPECT_EQ(action::run, read_command_line({"-platform", "offscreen"}, true).what);
    const launch_options unknown = read_command_line({"--bogus"}, false);
    EXPECT_EQ(action::error, unknown.what);
    EXPECT_TRUE(unknown.error.contains("--bogus"));
    EXPECT_EQ(action::error, read_command_line({"stray"}, false).what);
}

#ifdef KELVANE_PROGRAM

struct finished {
    bool ended = false;
    int status = -1;
    QString out, err;
};

finished run_kelvane(const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(KELVANE_PROGRAM, args);
    finished f;
    f.ended = p.waitForStarted(10000) && p.waitForFinished(60000);
    if (!f.ended) p.kill(), p.waitForFinished();
    f.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    f.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    f.err = QString::fromLocal8Bit(p.readAllStandardError());
    return f;
}

TEST(kelvane_program, answers_its_command_line_and_takes_a_screenshot_past_damaged_files) {
    QTemporaryDir dir;
    const QString root = dir.path() + "/device";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KELVANE_DEVICE_ROOT", root);
    env.insert("XDG_CONFIG_HOME", dir.path() + "/config");
    env.remove("QT_SCALE_FACTOR");

    const finished version = run_kelvane({"--version"}, env);
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(QString("Kelvane %1\n").arg(KELVANE_VERSION), version.out);
    const finished help = run_kelvane({"--help"}, env);
    EXPECT_EQ(0, help.status);
    EXPECT_TRUE(help.out.contains("--screenshot FILE"));
    const finished missing = run_kelvane({"--screenshot"}, env);
    EXPECT_EQ(2, missing.status);
    EXPECT_TRUE(missing.err.contains("--screenshot")) << missing.err.toStdString();
    const finished nowhere = run_kelvane({"--screenshot", "/nonexistent/x.png"}, env);
    EXPECT_EQ(1, nowhere.status);
    EXPECT_TRUE(nowhere.err.contains("/nonexistent/x.png")) << nowhere.err.toStdString();

    {
        // An open account whose fuel and service files are damaged: two
        // messages while the program loads.
        host_file_system host(root.toStdString());
        scoped_services on_host({&host});
        ASSERT_TRUE(install_bundled_files());
        program prog;
        ASSERT_EQ(account_change::done, prog.config.add_account(u"Golf"));
        prog.config.set_current_account(u"Golf");
        ASSERT_TRUE(prog.config.save_config());
        const char damaged[] = "not a record file";
        for (const char16_t* file :
             {u"\\Program Files\\Kelvane\\Golf.ful", u"\\Program Files\\Kelvane\\Golf.mat"})
            ASSERT_TRUE(write_file_atomically(host, file, damaged, sizeof damaged));
    }
    const QString picture = dir.path() + "/shot.png";
    const finished shot = run_kelvane({"--screenshot", picture}, env);
    EXPECT_TRUE(shot.ended) << "the run did not end by itself";
    EXPECT_EQ(0, shot.status) << shot.err.toStdString();
    EXPECT_EQ(QSize(240, 320), QImage(picture).size());
}

#endif

}  // namespace
}  // namespace kelvane
