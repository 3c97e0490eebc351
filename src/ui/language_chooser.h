// LanguageChooser: the language chooser, which picks the language file among those in the data folder and the installed defaults.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace tablix {

struct AppState;

class LanguageChooser : public QDialog {
    Q_OBJECT
public:
    // `workdir` empty means the state's data folder.
    explicit LanguageChooser(AppState &state, QWidget *parent = nullptr, const QString &workdir = QString());

    // Where the installed language files are offered from besides the data folder; by default
    // the installed defaults beside the program. A file chosen from there is copied into the data folder.
    void setInstalledFolder(const QString &folder) { installed_ = folder; }

    // At start-up without a language file: no cancel, a prompt in the box, and a confirmed
    // choice only rewrites the parameter file.
    void setStartupMode(bool startup);

    void listLanguages();
    void okClicked();
    // With no language file in the folder: a message naming the folder, and Rejected.
    int exec() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct LanguageFile {
        QString fileName;
        QString displayName;
        QString path;
        QByteArray bytes;
    };
    QString directory() const;
    QStringList folders() const; // the data folder, then the installed one
    // Every "tablix_lng.*" file with its display name; false after an error the user has seen.
    bool searchLanguageFiles(QList<LanguageFile> *files);

    AppState &state;
    QString workdir_;
    QString installed_;
    bool startup_ = false;
    QComboBox *languageBox = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
};

} // namespace tablix
