// The start-up path of the desktop program up to its main window, and its application object.
#pragma once

#include <QApplication>
#include <QString>

class QWidget;

namespace tablix {

struct AppState;

// Loads the data; on failure hides the splash, shows what the user must see (for a missing
// language file the language chooser, then the restart box) and returns false.
bool RunStartup(AppState &state, const QString &workdir, QWidget *splash = nullptr);

// The box that reports an event abandoned because a value did not fit the 6-byte format.
void ShowFloatingPointOverflow(QWidget *parent = nullptr);

// The box that reports a file that could not be read or written.
void ShowIoError(QWidget *parent, const QString &message);

// An event whose handler raises FloatingPointOverflow is abandoned with that box; the program
// goes on.
class TablixApplication : public QApplication {
public:
    TablixApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    bool overflowBoxPending_ = false;
};

} // namespace tablix
