// LanguageChooser: the language chooser, which picks the language file among those in the working directory.
#include "ui/language_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/widgets/named.h"
#include "core/number/atomic_file.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/params/startup_data.h"
#include "core/project/app_state.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

constexpr int kStoredNameLength = 14;

} // namespace

LanguageChooser::LanguageChooser(AppState &state, QWidget *parent, const QString &workdir)
    : QDialog(parent), state(state), workdir_(workdir)
{
    setObjectName(QStringLiteral("Form3"));
    ComboBox1 = Named<QComboBox>(this, "ComboBox1");
    ComboBox1->setMinimumWidth(220);
    BitBtn1 = Named<QPushButton>(this, "BitBtn1", style()->standardIcon(QStyle::SP_DialogOkButton), QString());
    BitBtn1->setDefault(true);
    BitBtn2 = Named<QPushButton>(this, "BitBtn2", style()->standardIcon(QStyle::SP_DialogCancelButton), QString());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ComboBox1);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &LanguageChooser::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void LanguageChooser::setStartupMode(bool startup)
{
    startup_ = startup;
    BitBtn2->setVisible(!startup);
}

QString LanguageChooser::directory() const
{
    return workdir_.isEmpty() ? QDir::currentPath() : workdir_;
}

bool LanguageChooser::searchLanguageFiles(QList<LanguageFile> *files)
{
    const QDir dir(directory());
    for (const QString &name : dir.entryList({QStringLiteral("tablix_lng.*")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            ShowIoError(this, QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
            return false;
        }
        files->append({name, LanguageDisplayName(file.readAll())});
    }
    return true;
}

void LanguageChooser::showEvent(QShowEvent *event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void LanguageChooser::FormActivate()
{
    setWindowTitle(state.LanguageEntry(text::kLanguageChooser));
    // Without a language there is no wording yet; the buttons keep a word and their icons.
    const bool noLanguage = state.LanguageEntry(text::kOk).isEmpty();
    BitBtn1->setText(noLanguage ? QStringLiteral("OK") : state.LanguageEntry(text::kOk));
    BitBtn2->setText(state.LanguageEntry(text::kCancel));

    ComboBox1->clear();
    QList<LanguageFile> files;
    searchLanguageFiles(&files);
    QStringList names;
    for (const LanguageFile &f : files)
        names << f.displayName;
    std::stable_sort(names.begin(), names.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ComboBox1->addItems(names);
    if (startup_) {
        ComboBox1->setPlaceholderText(QStringLiteral("Choose language version"));
        ComboBox1->setCurrentIndex(-1);
    } else {
        ComboBox1->setPlaceholderText(QString());
        const qsizetype current = names.lastIndexOf(state.LanguageEntry(text::kLanguageName));
        ComboBox1->setCurrentIndex(int(current));
    }
}

void LanguageChooser::BitBtn1Click()
{
    QList<LanguageFile> files;
    if (!searchLanguageFiles(&files))
        return;
    const QString chosenName = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
    QString chosenFile;
    for (const LanguageFile &f : files) {
        if (f.displayName == chosenName)
            chosenFile = f.fileName;
    }
    if (chosenFile.isEmpty())
        return;

    ParameterRecord parameters = state.parameters;
    parameters.setLanguageFile(chosenFile.left(kStoredNameLength));
    QString error;
    if (!WriteFileAtomically(QDir(directory()).filePath(QString::fromLatin1(kParameterFileName)),
                             SerializeParameterRecord(parameters), &error)) {
        ShowIoError(this, error);
        return;
    }
    state.parameters = parameters;
    if (!startup_) {
        state.SaveCurrentSign();
        const StartupLoadResult reload = LoadParametersAndLanguage(state, directory());
        if (reload.failure != StartupFailure::None)
            ShowIoError(this, reload.message);
    }
    accept();
}

} // namespace tablix
