// What the fuzz targets share: the shipped data, a reader of the input bytes and a GUI for text.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/number/real48.h"
#include "core/params/language.h"
#include "core/params/params_json.h"
#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "core/project/project_json.h"
#include "core/project/sign_record.h"

namespace fuzz {

// Takes the input front to back; what is missing reads as zero bytes.
class Input {
public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), size_(data ? size : 0) {}

    void bytes(void *out, std::size_t n)
    {
        const std::size_t k = std::min(n, left());
        if (k)
            std::memcpy(out, data_ + at_, k);
        std::memset(static_cast<char *>(out) + k, 0, n - k);
        at_ += k;
    }
    template <typename T> T get()
    {
        T v{};
        bytes(&v, sizeof v);
        return v;
    }
    // A Real48 of any bit pattern, as a damaged file holds it.
    tablix::Real48 real() { return get<tablix::Real48>(); }
    // A text of up to `max` bytes, ended by a zero byte or by the input.
    QString text(std::size_t max)
    {
        QByteArray t;
        while (left() > 0 && std::size_t(t.size()) < max) {
            const char c = char(data_[at_++]);
            if (c == 0)
                break;
            t += c;
        }
        return QString::fromUtf8(t);
    }
    std::size_t left() const { return at_ < size_ ? size_ - at_ : 0; }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

inline QByteArray DataFile(const char *name)
{
    QFile f(QStringLiteral(TABLIX_DATA_DIR "/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The parameters and language files the program ships; a fuzz run stops at once without them.
inline const tablix::ParameterRecord &ShippedParameters()
{
    static const tablix::ParameterRecord p = [] {
        const auto r = tablix::ParametersFromJson(DataFile("params.json"), nullptr);
        if (!r)
            __builtin_trap();
        return *r;
    }();
    return p;
}

inline const tablix::LanguageTable &ShippedLanguage(bool polish)
{
    static const tablix::LanguageTable eng = tablix::ParseLanguageFile(DataFile("tablix_lng.eng"));
    static const tablix::LanguageTable pol = tablix::ParseLanguageFile(DataFile("tablix_lng.pol"));
    if (eng.LanguageEntry(1).isEmpty() || pol.LanguageEntry(1).isEmpty())
        __builtin_trap();
    return polish ? pol : eng;
}

inline const tablix::SignSlotArray &ExampleProject()
{
    static const tablix::SignSlotArray signs = [] {
        const auto r = tablix::ProjectFromJson(DataFile("examples/shop-front.json"), nullptr);
        if (!r)
            __builtin_trap();
        return *r;
    }();
    return signs;
}

// The shipped data with the example project, overwritten by as many signs and parameters as the
// input still holds.
inline void OpenInputProject(tablix::AppState &state, Input &in, bool polish)
{
    state.parameters = ShippedParameters();
    state.language = ShippedLanguage(polish);
    tablix::SignSlotArray signs = ExampleProject();
    in.bytes(signs.data(), std::min(in.left(), sizeof signs));
    in.bytes(&state.parameters, std::min(in.left(), sizeof(tablix::ParameterRecord)));
    state.RefreshParameters();
    state.OpenProject(signs, QStringLiteral("fuzz.tab"));
}

// Text is measured and drawn with real fonts, which need a GUI application (offscreen).
inline void EnsureGui()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    // Font look-ups fill caches (and fontconfig keeps some of it unreachable) on first use; done
    // here, before the first input, so they are not taken for leaks of the code under test.
    QString every;
    for (int c = 0x20; c < 0x180; ++c)
        every += QChar(c);
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int pixels = 1; pixels < 64; ++pixels) {
        QFont font;
        font.setPixelSize(pixels);
        painter.setFont(font);
        (void)QFontMetrics(font).horizontalAdvance(every);
        painter.drawText(0, 8, every);
    }
}

} // namespace fuzz

// Fontconfig's own caches are not the program's leaks. Defined here, as every target is one file.
extern "C" __attribute__((used)) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
