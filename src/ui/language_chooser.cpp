// LanguageChooser: the language chooser, which picks the language file among those in the data folder and the installed defaults.
#include "ui/language_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/widgets/named.h"
#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
#include "core/params/data_folder.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/params/settings.h"
#include "core/project/app_state.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

constexpr int kStoredNameLength = 14;

} // namespace

LanguageChooser::LanguageChooser(AppState &state, QWidget *parent, const QString &workdir)
    : QDialog(parent), state(state), workdir_(workdir), installed_(InstalledDataFolder())
{
    setObjectName(QStringLiteral("Form3"));
    languageBox = Named<QComboBox>(this, "ComboBox1");
    languageBox->setMinimumWidth(220);
    okButton = Named<QPushButton>(this, "BitBtn1", style()->standardIcon(QStyle::SP_DialogOkButton), QString());
    okButton->setDefault(true);
    cancelButton = Named<QPushButton>(this, "BitBtn2", style()->standardIcon(QStyle::SP_DialogCancelButton), QString());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(languageBox);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &LanguageChooser::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void LanguageChooser::setStartupMode(bool startup)
{
    startup_ = startup;
    cancelButton->setVisible(!startup);
}

QString LanguageChooser::directory() const
{
    return workdir_.isEmpty() ? state.dataFolder : workdir_;
}

QStringList LanguageChooser::folders() const
{
    QStringList list{directory()};
    if (!installed_.isEmpty() && QDir(installed_).absolutePath() != QDir(directory()).absolutePath())
        list << installed_;
    return list;
}

bool LanguageChooser::searchLanguageFiles(QList<LanguageFile> *files)
{
    // The data folder's own file wins over an installed one of the same name.
    QStringList seen;
    for (const QString &folder : folders()) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QString::fromLatin1(kLanguageFilePattern)}, QDir::Files)) {
            if (seen.contains(name))
                continue;
            seen << name;
            const InputFile file = ReadInputFile(dir.filePath(name), kTextFileLimit, false, QStringLiteral("a language file"));
            if (!file.bytes) {
                ShowIoError(this, file.error);
                return false;
            }
            files->append({name, LanguageDisplayName(*file.bytes), dir.filePath(name), *file.bytes});
        }
    }
    return true;
}

int LanguageChooser::exec()
{
    // An empty list would leave OK doing nothing; with no language there is no table to word
    // the message from, so it is said in both languages of the program.
    bool any = false;
    QStringList searched;
    for (const QString &folder : folders()) {
        any = any || !QDir(folder).entryList({QString::fromLatin1(kLanguageFilePattern)}, QDir::Files).isEmpty();
        searched << QDir::toNativeSeparators(QDir(folder).absolutePath());
    }
    if (!any) {
        const QString folder = searched.join(QStringLiteral(", "));
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablix"),
                        QStringLiteral("No language file (%1) was found in the folder %2.\n\n"
                                       "Nie znaleziono pliku języka (%1) w folderze %2.")
                            .arg(QString::fromLatin1(kLanguageFilePattern), folder),
                        QMessageBox::Ok, parentWidget());
        box.setObjectName(QStringLiteral("NoLanguageFileBox"));
        box.exec();
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void LanguageChooser::showEvent(QShowEvent *event)
{
    listLanguages();
    QDialog::showEvent(event);
}

void LanguageChooser::listLanguages()
{
    setWindowTitle(state.LanguageEntry(text::kLanguageChooser));
    // Without a language there is no wording yet; the buttons keep a word and their icons.
    const bool noLanguage = state.LanguageEntry(text::kOk).isEmpty();
    okButton->setText(noLanguage ? QStringLiteral("OK") : state.LanguageEntry(text::kOk));
    cancelButton->setText(state.LanguageEntry(text::kCancel));

    languageBox->clear();
    QList<LanguageFile> files;
    searchLanguageFiles(&files);
    QStringList names;
    for (const LanguageFile &f : files)
        names << f.displayName;
    std::stable_sort(names.begin(), names.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    languageBox->addItems(names);
    if (startup_) {
        languageBox->setPlaceholderText(QStringLiteral("Choose language version"));
        languageBox->setCurrentIndex(-1);
    } else {
        languageBox->setPlaceholderText(QString());
        const qsizetype current = names.lastIndexOf(state.LanguageEntry(text::kLanguageName));
        languageBox->setCurrentIndex(int(current));
    }
}

void LanguageChooser::okClicked()
{
    QList<LanguageFile> files;
    if (!searchLanguageFiles(&files))
        return;
    const QString chosenName = languageBox->currentIndex() >= 0 ? languageBox->currentText() : QString();
    const LanguageFile *chosen = nullptr;
    for (const LanguageFile &f : files) {
        if (f.displayName == chosenName)
            chosen = &f;
    }
    if (!chosen)
        return;
    const QString chosenFile = chosen->fileName;

    ParameterRecord parameters = state.parameters;
    parameters.setLanguageFile(chosenFile.left(kStoredNameLength));
    // Read before anything is written: a file that cannot be read changes nothing.
    LanguageLoad language;
    const QString stored = QDir(directory()).filePath(parameters.languageFile());
    const QString languagePath = QFileInfo::exists(stored) ? stored : chosen->path;
    if (!startup_) {
        language = LoadLanguageFile(languagePath);
        if (!language.table) {
            ShowIoError(this, state.LanguageEntry(text::kLanguageNotRead) + QStringLiteral("\n\n") +
                                  QStringLiteral("%1: %2").arg(languagePath, language.error));
            return;
        }
    }
    QString error;
    // An installed file is copied first: the parameter file names a file of the data folder.
    const QString copy = QDir(directory()).filePath(chosenFile);
    if (!QFileInfo::exists(copy) && !WriteFileAtomically(copy, chosen->bytes, &error)) {
        const QString kept = state.LanguageEntry(text::kNothingWrittenFileKept);
        ShowIoError(this, kept.isEmpty() ? error : error + QStringLiteral("\n\n") + kept);
        return;
    }
    if (!WriteFileAtomically(QDir(directory()).filePath(QString::fromLatin1(kParameterFileName)),
                             SerializeParameterRecord(parameters), &error)) {
        const QString kept = state.LanguageEntry(text::kNothingWrittenFileKept);
        ShowIoError(this, kept.isEmpty() ? error : error + QStringLiteral("\n\n") + kept);
        return;
    }
    state.parameters = parameters;
    if (!startup_) {
        // Only the texts change: the derived parameters, and with them the price percentage the
        // user last gave, stay. The currency belongs to the prices, so the first switch records it.
        QString currency = CurrencySetting(directory());
        if (currency.isEmpty()) {
            currency = CurrencyWord(state.language);
            if (IsUsableCurrency(currency))
                WriteCurrencySetting(directory(), currency, nullptr); // this session keeps it regardless
        }
        SetCurrencyWord(*language.table, currency);
        state.language = *language.table;
    } else {
        language = LoadLanguageFile(languagePath);
    }
    if (language.table && language.missing > 0) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tablix"),
                        language.table->LanguageEntry(text::kLanguageEntriesMissing).arg(language.missing).arg(kLanguageEntries),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("LanguageEntriesMissingBox"));
        box.exec();
    }
    accept();
}

} // namespace tablix
