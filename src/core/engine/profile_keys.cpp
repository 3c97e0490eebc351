// Language-independent names of the profiles that pieces are cut from, and their labels in a language.
#include "core/engine/profile_keys.h"

#include <QRegularExpression>
#include <array>

#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/project/element_codes.h"
#include "core/engine/results.h"

namespace tablix {

namespace {

// A key read by the engine on every run: made once, never changed.
struct NamedProfile {
    QString key;
    int entry; // the label's language entry; -1 for a row element, labelled by its kind's name
    int code;  // the row element's code, or 0
};

const std::vector<NamedProfile> &Profiles()
{
    static const std::vector<NamedProfile> profiles = [] {
        std::vector<NamedProfile> all;
        for (int code = 1; code <= kElementKinds; ++code)
            if (code != kOtherInfillCode)
                all.push_back({QStringLiteral("element-%1").arg(code), -1, code});
        const std::pair<const char *, int> named[] = {
            {"frame-narrow-A", text::kFrameDimensionAType1}, {"frame-wide-A", text::kFrameDimensionAType2},
            {"frame-narrow-B", text::kFrameDimensionBType1}, {"frame-wide-B", text::kFrameDimensionBType2},
            {"post-narrow-A", text::kPostLabelA},            {"post-wide-A", text::kPostLabelAType2},
            {"post-narrow-B", text::kPostLabelB},            {"post-wide-B", text::kPostLabelBType2},
            {"side-type3-A", text::kSideProfileDimensionAType3}, {"side-type3-B", text::kSideProfileDimensionBType3},
            {"side1-type4-A", text::kProfileLengthAType4},   {"side1-type4-B", text::kProfileLengthBType4},
            {"side2-type4-A", text::kSecondProfileLengthAType4}, {"side2-type4-B", text::kSecondProfileLengthBType4},
        };
        for (const auto &[key, entry] : named)
            all.push_back({QString::fromLatin1(key), entry, 0});
        return all;
    }();
    return profiles;
}

// Index of a named profile in Profiles(): after the 20 row elements, in the order above.
const QString &Named(int index)
{
    return Profiles()[size_t(kElementKinds - 1 + index)].key;
}

} // namespace

const QString &ElementProfileKey(int code)
{
    static const QString kNone;
    // Codes 1..21 in order, without the other infill.
    if (code < 1 || code > kElementKinds || code == kOtherInfillCode)
        return kNone;
    return Profiles()[size_t(code < kOtherInfillCode ? code - 1 : code - 2)].key;
}

const QString &FrameProfileKey(bool familyA, bool wide)
{
    return Named((familyA ? 0 : 2) + (wide ? 1 : 0));
}

const QString &PostProfileKey(bool familyA, bool wide)
{
    return Named(4 + (familyA ? 0 : 2) + (wide ? 1 : 0));
}

const QString &SideProfileType3Key(bool familyA)
{
    return Named(familyA ? 8 : 9);
}

const QString &SideProfileType4Key(bool familyA, int which)
{
    return Named(10 + (which == 2 ? 2 : 0) + (familyA ? 0 : 1));
}

const QStringList &AllProfileKeys()
{
    static const QStringList keys = [] {
        QStringList all;
        for (const NamedProfile &p : Profiles())
            all << p.key;
        return all;
    }();
    return keys;
}

QString ProfileLabel(const QString &key, const LanguageTable &language)
{
    for (const NamedProfile &p : Profiles()) {
        if (p.key != key)
            continue;
        if (p.entry >= 0)
            return ProfileNameOfLabel(language.LanguageEntry(p.entry));
        QString name;
        SetElementKindName(name, language, p.code);
        return ProfileNameOfLabel(name);
    }
    return {};
}

QString ProfileNameOfLabel(const QString &label)
{
    static const QRegularExpression trailer(QStringLiteral("[\\s,:;]*(\\d+\\s*[x\u00d7*]\\s*)?[\\s,:;]*$"));
    QString name = label.trimmed();
    name.remove(trailer);
    return name.isEmpty() ? label.trimmed() : name;
}

void SetElementKindName(QString &name, const LanguageTable &language, int code)
{
    name.truncate(0);
    if (code == kOtherInfillCode)
        name += language.LanguageEntry(text::kOtherInfill) + u' ';
    else
        name += u' ' + language.LanguageEntry(FamilyWordEntry(code)) + u' ' + language.LanguageEntry(ElementWordEntry(code));
    name.truncate(19);
}

} // namespace tablix
