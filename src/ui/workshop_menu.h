// The workshop's commands in the main window's project menu: the customer's quote as a PDF.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tablix {

struct AppState;

class WorkshopMenu : public QObject {
    Q_OBJECT
public:
    // Asks for the file to write: parent, proposed name, Qt filter; empty when cancelled.
    using FileDialog = std::function<QString(QWidget *, const QString &, const QString &)>;

    // Appends the commands to `menu`; `window` owns this and parents its messages.
    WorkshopMenu(AppState &state, QWidget *window, QMenu *menu);

    void setFileDialog(FileDialog dialog) { askFile_ = std::move(dialog); }

    enum class Outcome { Cancelled, Written, NoSignInUse, Failed };
    // Asks for the PDF's name and writes the quote of the whole project there, atomically;
    // failures are told to the user and leave a file already there as it was.
    Outcome saveQuote();

    // Captions from the language table; also done whenever the menu opens.
    void LoadLanguageCaptions();

private:
    AppState &state;
    QWidget *window;
    QAction *quoteAction = nullptr;
    FileDialog askFile_;
};

} // namespace tablix
