// The whole state of a running Tablix: parameters, texts, the project and the working rows.
#include "core/project/app_state.h"

#include <QFileInfo>
#include <algorithm>

#include "core/params/language_entries.h"
#include "core/project/row_rules.h"

namespace tablix {

QString MainWindowCaption(const LanguageTable &language, const QString &projectFileName)
{
    const QString &maker = language.LanguageEntry(text::kMakerContactLine);
    const QString caption = maker.isEmpty() ? QStringLiteral("TABLIX") : QString(QStringLiteral("TABLIX - ") + maker);
    return projectFileName.isEmpty() ? QString(caption + QLatin1Char(' '))
                                     : QString(caption + QStringLiteral(" - ") + projectFileName);
}

AppState::AppState()
{
    exportScale.set(100);
    ReportLines.fill(QString(QChar(0)));
    ResetCurrentSign();
    LoadWorkingRows();
    SignSlots.fill(currentSignRecord);
    MarkProjectSaved();
}

void AppState::RefreshParameters()
{
    RefreshElementTypeTable(parameters, derived);
    RefreshPricePercent(parameters, derived);
}

void AppState::SaveCurrentSign()
{
    slot(currentSign) = currentSignRecord;
}

void AppState::SelectSign(int k)
{
    currentSign = k;
    currentSignRecord = slot(k);
    LoadWorkingState();
}

void AppState::ResetCurrentSign()
{
    BlankSignRecord(currentSignRecord);
}

bool AppState::NewSign()
{
    if (signCount >= kMaxSigns || !currentSignRecord.inUse())
        return false;
    ++signCount;
    SaveCurrentSign();
    SelectSign(signCount);
    // A page shown again holds a new sign.
    tabCaptions[size_t(signCount - 1)] = TabCaption(language, currentSignRecord.titleText(), signCount);
    return true;
}

bool AppState::CopySign()
{
    if (signCount >= kMaxSigns || !currentSignRecord.inUse())
        return false;
    ++signCount;
    SaveCurrentSign();
    slot(signCount) = currentSignRecord;
    currentSign = signCount;
    LoadWorkingRows();
    RefreshTabCaptions();
    return true;
}

bool AppState::DeleteSign()
{
    if (signCount < 2)
        return false;
    for (int i = currentSign; i < kMaxSigns; ++i)
        slot(i) = slot(i + 1);
    BlankSignRecord(slot(kMaxSigns));
    --signCount;
    pageChangeEnabled = false;
    RebuildPages();
    pageChangeEnabled = true;
    return true;
}

void AppState::RebuildPages()
{
    // Signs in use move to the front, keeping their order, so that page k always shows slot k;
    // signs not in use follow them unchanged.
    std::stable_partition(SignSlots.begin(), SignSlots.end(), [](const SignRecord &r) { return r.inUse(); });
    signCount = 0;
    for (int i = 1; i <= kMaxSigns; ++i) {
        if (!slot(i).inUse())
            break;
        ++signCount;
        const QString title = slot(i).titleText();
        tabCaptions[size_t(i - 1)] = title.startsWith(QLatin1Char('!')) ? title.mid(1) : title;
    }
    // An empty project still shows its first page.
    if (signCount == 0)
        signCount = 1;
    currentSign = 1;
    currentSignRecord = slot(1);
    LoadWorkingRows();
}

void AppState::NewProject()
{
    pageChangeEnabled = false;
    ResetCurrentSign();
    LoadWorkingRows();
    SignSlots.fill(currentSignRecord);
    derived.FixedPricePercent = Real48{};
    projectFileName.clear();
    signCount = 1;
    currentSign = 1;
    pageChangeEnabled = true;
    RefreshTabCaptions();
    projectFilePath.clear();
    MarkProjectSaved();
}

bool AppState::SetSignTitle(const QString &text, bool automatic)
{
    if (currentSignRecord.title[0] == 0)
        return false;
    const QString title = automatic ? text : QStringLiteral("!") + text;
    currentSignRecord.setTitle(title);
    std::copy(std::begin(currentSignRecord.title), std::end(currentSignRecord.title), slot(currentSign).title);
    tabCaptions[size_t(currentSign - 1)] = text;
    return true;
}

void AppState::RefreshTabCaptions()
{
    for (int i = 1; i <= kMaxSigns; ++i)
        tabCaptions[size_t(i - 1)] = TabCaption(language, slot(i).titleText(), i);
}

void AppState::OpenProject(const SignSlotArray &signs, const QString &fileName)
{
    SignSlots = signs;
    // Older files may hold lower marks past a row without strips; they are kept as the
    // construction dialog keeps them, so that the posts are priced as they are drawn.
    for (SignRecord &r : SignSlots) {
        RowCodes rows;
        LowerMarks marks;
        std::copy(std::begin(r.rowElements), std::end(r.rowElements), rows.begin());
        std::copy(std::begin(r.lowerMarks), std::end(r.lowerMarks), marks.begin());
        marks = KeptLowerMarks(marks, rows);
        std::copy(marks.begin(), marks.end(), std::begin(r.lowerMarks));
    }
    derived.FixedPricePercent = slot(1).priceLevel;
    RebuildPages();
    projectFileName = QFileInfo(fileName).fileName();
    projectFilePath = fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
    MarkProjectSaved();
}

QByteArray AppState::ProjectContent() const
{
    SignSlotArray signs = SignSlots;
    if (currentSign >= 1 && currentSign <= kMaxSigns)
        signs[size_t(currentSign - 1)] = currentSignRecord;
    return SerializeProject(signs);
}

bool AppState::ProjectModified() const
{
    return signCount != savedSignCount || ProjectContent() != savedProjectContent;
}

void AppState::MarkProjectSaved()
{
    savedProjectContent = ProjectContent();
    savedSignCount = signCount;
}

bool AppState::HoldsSignInUse() const
{
    for (int k = 1; k <= kMaxSigns; ++k)
        if ((k == currentSign ? currentSignRecord : slot(k)).inUse())
            return true;
    return false;
}

} // namespace tablix
