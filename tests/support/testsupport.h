#pragma once
// Shared helpers of the test programs: fresh databases on the backend under
// test, a dialog recorder, typing Persian text and finding controls by name.
#include "common/dialogs.h"
#include "db/database.h"

#include <QApplication>
#include <QList>
#include <QTest>
#include <QWidget>

#include <deque>
#include <functional>

namespace tavrin::test {

// The backend chosen by TAVRIN_TEST_BACKEND (sqlite when unset).
Backend backendUnderTest();
QString backendName();

// The throwaway PostgreSQL server of the tests (TAVRIN_TEST_PGINFO): DIR (its
// folder, with the data folder "data"), HOST (the socket folder) and PORT.
QMap<QString, QString> pgServerInfo();

// Parameters of a new, empty database on the backend under test (a new SQLite
// file, or a new PostgreSQL database with C collation).
ConnectionParams freshDatabaseParams();
ConnectionParams freshDatabaseParams(Backend backend);
// The other backend than the one under test: a program that uses it runs with
// the PostgreSQL test server in both of its variants, so that data can move
// between SQLite and PostgreSQL in both directions.
Backend otherBackend();
// Opens a fresh database of the given parameters, with the schema installed
// when asked (not the program's data module).
std::unique_ptr<Database> openFresh(const ConnectionParams& p, bool install = true);
// Opens a fresh database, installs the schema when asked, and makes it the
// program's data module.
Database& useFreshDatabase(bool install = true);

// Records every dialog and answers from scripted queues (default answers: Yes,
// the preset of an input box, no file).
class DialogRecorder : public DialogService {
public:
    struct Shown {
        QString kind;   // "information", "warning", "error", "question", "input", "password", "open", "save", "window", "balloon", "desktop"
        QString title;
        QString text;
    };
    DialogRecorder() { setDialogs(this); }
    ~DialogRecorder() override { setDialogs(nullptr); }

    QList<Shown> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> files;
    // Windows "shown modally" are recorded; when set, this runs in their place.
    std::function<int(QDialog*)> onExec;
    // Whether the desktop has a program that opens the files given to it.
    bool desktopOpens = true;
    // A progress dialog's cancel button is pressed once it reaches this step.
    std::optional<qint64> cancelProgressAt;
    // The last step a progress dialog showed, and its total.
    qint64 progressDone = 0, progressTotal = 0;
    // Progress dialogs open now, and the messages, questions and windows shown
    // while one was open (over it).
    int progressOpen = 0, shownOverProgress = 0;

    void message(MsgKind kind, const QString& text, const QString& title = {}) override;
    Answer question(const QString& text, Buttons buttons, MsgKind kind, const QString& title) override;
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& preset) override;
    std::optional<QString> password(const QString& title, const QString& prompt) override;
    QString openFile(const QString& title, const QString& filter, const QString& dir) override;
    QString saveFile(const QString& title, const QString& filter, const QString& suggested) override;
    int exec(QDialog* window) override;
    void openWithDesktop(const QString& path) override;
    bool openWithDesktopProgram(const QString& path) override;
    std::unique_ptr<ProgressView> progress(const QString& label, qint64 total) override;
    void balloon(QWidget* over, const QString& title, const QString& text) override;
    void endProgram() override;

    // Texts of the message boxes and questions, in order.
    QStringList texts() const;
    QString lastText() const;
    void clear() { shown.clear(); }
};

// Types text one character at a time (QTest::keyClicks cannot type Persian).
void typeText(QWidget* w, const QString& text);

template <class T>
T* child(const QObject* root, const QString& name)
{
    T* w = root->findChild<T*>(name);
    if (!w)
        qWarning("no child %s of type %s", qPrintable(name), T::staticMetaObject.className());
    return w;
}

// Adds a user with the given rights ("page" -> "1111" insert/edit/delete/view)
// and granted counties; returns its id.
qint64 addUser(const QString& us, const QString& level, const QString& ostan = {},
               const QMap<QString, QString>& rights = {}, const QStringList& counties = {},
               const QString& password = QStringLiteral("1"));
// Makes the session that of the given stored user.
void loginAs(const QString& us);

// Another user's transaction: on a second connection to the current database,
// begins, runs `hold` (the writes that user makes) and keeps the transaction
// open for holdMs while `action` runs on this connection; commits, and returns
// once both are done.  `action` meets that user's locks and rows as a user
// saving at the same moment would.
void whileAnotherUserHolds(const std::function<void(Database&)>& hold, const std::function<void()>& action,
                           int holdMs = 600);

void initApplication();

// The permission bits of a file or folder (0600, 0755 ...), -1 when it is absent.
int fileMode(const QString& path);

// Whether TAVRIN_CHECK_TIME fails a test (TAVRIN_BENCH_STRICT=1).
bool timeBoundsEnforced();

// A positive whole number from the environment (a benchmark's size), else fallback.
int envInt(const char* name, int fallback);

// Stores the user's "Local" connection settings so that they name `p`.
void storeSettingsFor(const ConnectionParams& p);

// tavrin-cli's command line run in this process; with `connect`, on the
// database under test.
struct Cli {
    int rc = -1;
    QString out, err;
};
Cli runCli(QStringList args, bool connect = false);

} // namespace tavrin::test

#define TAVRIN_TEST_MAIN(TestClass)                                   \
    int main(int argc, char** argv)                                   \
    {                                                                 \
        QApplication app(argc, argv);                                 \
        tavrin::test::initApplication();                              \
        TestClass tc;                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                    \
        const int rc = QTest::qExec(&tc, argc, argv);                 \
        tavrin::setDm(nullptr);                                       \
        return rc;                                                    \
    }
// The same, and marks the program as one that runs on both backends.
// Time bounds of the benchmarks fail a test only in the deep run
// (TAVRIN_BENCH_STRICT=1, tools/test.sh --deep): a busy machine may exceed a
// time, never a count of round trips or statements, which stay asserted always.
#define TAVRIN_CHECK_TIME(cond, what)                                                                            \
    do {                                                                                                         \
        if (!(cond)) {                                                                                           \
            if (::tavrin::test::timeBoundsEnforced())                                                            \
                QVERIFY2(cond, what);                                                                            \
            else                                                                                                 \
                qWarning("over its time bound (enforced in the deep run only): %s", static_cast<const char*>(what)); \
        }                                                                                                        \
    } while (false)

#define TAVRIN_DB_TEST_MAIN(TestClass) TAVRIN_TEST_MAIN(TestClass)
