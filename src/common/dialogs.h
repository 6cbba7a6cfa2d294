#pragma once
// Every message box, question, input box, file dialog and modal window of the
// program goes through this one service, so that tests can answer them from a
// script and read back exactly what was shown.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QFileDialog;
class QWidget;

namespace tavrin {

enum class MsgKind { Information, Warning, Error, Question };
enum class Answer { Ok, Yes, No, Cancel };
enum class Buttons { Ok, YesNo, YesNoCancel };

// The progress of a long piece of work (an export, a printed list) in a
// dialog the user may cancel.  The dialog shows while the object lives.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    // Shows that done steps of the total are finished; false once the user
    // has cancelled (the work then stops and undoes what it started).
    virtual bool advance(qint64 done) = 0;
};

// Thrown out of a row visitor when the user cancels a long read; the helpers
// that show the progress catch it.
struct ReadCancelled {};

// The cancel button and the caption of a long read.
extern const QString kCancelCaption;   // "انصراف"
extern const QString kReadingList;     // the list is being read

// The file dialog openFile and saveFile show: sized for long file names and
// the folder list (wide on a laptop screen, never beyond it), the suggested
// file selected; saving chooses the save mode.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            const QString& path, bool saving);

class DialogService {
public:
    virtual ~DialogService() = default;

    virtual void message(MsgKind kind, const QString& text, const QString& title = {});
    // A question box; kind chooses its icon (a warning with Yes/No/Cancel ...).
    virtual Answer question(const QString& text, Buttons buttons = Buttons::YesNoCancel,
                            MsgKind kind = MsgKind::Question, const QString& title = {});
    // An input box; nothing when the user cancels.
    virtual std::optional<QString> input(const QString& title, const QString& prompt, const QString& preset = {});
    virtual std::optional<QString> password(const QString& title, const QString& prompt);
    // File dialogs; an empty text when the user cancels.
    virtual QString openFile(const QString& title, const QString& filter, const QString& dir = {});
    virtual QString saveFile(const QString& title, const QString& filter, const QString& suggested = {});
    // Shows a window modally and returns its result.
    virtual int exec(QDialog* window);
    // Opens a file with the desktop's default program.
    virtual void openWithDesktop(const QString& path);
    // The same, telling whether a program opened it: false when the desktop
    // has no program for the file's type or could not start it.
    virtual bool openWithDesktopProgram(const QString& path);
    // A progress dialog for work of total steps (0 when not known), titled
    // label, with a cancel button; it appears only when the work lasts.
    virtual std::unique_ptr<ProgressView> progress(const QString& label, qint64 total);
    // A tip shown over a widget (the balloon tips of the grids).
    virtual void balloon(QWidget* over, const QString& title, const QString& text);
    // Ends the program (closing every window and leaving the event loop).
    virtual void endProgram();

    void information(const QString& text, const QString& title = {}) { message(MsgKind::Information, text, title); }
    void warning(const QString& text, const QString& title = {}) { message(MsgKind::Warning, text, title); }
    void error(const QString& text, const QString& title = {}) { message(MsgKind::Error, text, title); }
};

// The program's dialog service (a real one unless a test installed its own).
DialogService& dialogs();
// Installs a service (tests); nullptr restores the real one.  Not owned.
void setDialogs(DialogService* service);

// The least width of a message box with this title: the title in the title
// bar's bold face and the room of the title bar's icon and buttons.
int messageBoxTitleRoom(const QString& title);

// How logic asks the user a question in the middle of an action: the window
// passes askWarning(), a test its own answers, so that the logic needs no
// window.  True when the user answers Yes.
using Ask = std::function<bool(const QString& question)>;
// The warning question of an action (with the warning icon).
Ask askWarning(Buttons buttons = Buttons::YesNoCancel);

// Writes a failed action's driver text to the program's log and shows the
// action's fixed message.
class DbError;
void reportFailure(const QString& fixedMessage, const DbError& error);

} // namespace tavrin
