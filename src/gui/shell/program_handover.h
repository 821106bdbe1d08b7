#pragma once
// One program per data folder. The program that holds the data folder's
// one-writer hold listens at a name made from the folder; a second program
// started on the same data finds the hold taken, asks the first to come to
// the front and ends, so two windows never write one set of files.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

namespace kelvane {

struct program;

class program_handover : public QObject {
    Q_OBJECT
public:
    enum class start { run, handed_over, in_use };

    explicit program_handover(QObject* parent = nullptr);

    // Makes the data folder when it is missing and takes its hold. With the
    // hold (or on a medium that cannot lock) this listens for later starts
    // and the program runs. When another holds it, that one is asked to
    // come to the front (waiting up to `wait_ms` for it to answer):
    // handed_over when it did, in_use when nothing answered (another
    // program, such as kelvane-tool's backup, is writing the folder).
    start claim(program& prog, int wait_ms = 3000);

    // The name the programs of one data folder meet at.
    static QString meeting_name(const std::string& folder_id);

signals:
    // A later start on the same data asked this program to come to the front.
    void asked();

private:
    void listen(const QString& name);
    static bool ask(const QString& name, int wait_ms);

    QLocalServer server_;
};

}  // namespace kelvane
