// Language-independent names of the profiles that pieces are cut from, and their labels in a language.
#pragma once

#include <QString>
#include <QStringList>

namespace tablix {

struct LanguageTable;

// Keys are never shown: the stock settings are filed under them, so that a setting made in one
// language holds in every other. A row element is keyed by its code ("element-4"); a frame,
// post or side profile by what it is ("frame-narrow-A", "post-wide-B", "side-type3-A",
// "side1-type4-B").
const QString &ElementProfileKey(int code);
// Frame bars and side profiles of sign types 1 (narrow) and 2 (wide).
const QString &FrameProfileKey(bool familyA, bool wide);
const QString &PostProfileKey(bool familyA, bool wide);
const QString &SideProfileType3Key(bool familyA);
// `which` 1 or 2: the two side profiles of sign type 4.
const QString &SideProfileType4Key(bool familyA, int which);

// Every key a piece can carry.
const QStringList &AllProfileKeys();

// The label the cut list shows for a key in `language`; empty for an unknown key.
QString ProfileLabel(const QString &key, const LanguageTable &language);

// "Frame narrow A, 2 x" and "Post narrow A:" name the profiles "Frame narrow A" and "Post narrow A".
QString ProfileNameOfLabel(const QString &label);

// The name of an element kind as the reports write it: a blank, the family word, a blank and the
// element word (the other infill: its word and a blank), at most 19 characters. Built in place.
void SetElementKindName(QString &name, const LanguageTable &language, int code);

} // namespace tablix
