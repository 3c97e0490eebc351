// Every window of the program: created once at start-up, in a fixed order, and reused.
#pragma once

#include <memory>

namespace tablix {

struct AppState;
class TForm1;
class TForm2;
class TForm3;
class TAboutBox;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;

// Windows reach each other through this set.
struct Windows {
    TForm1 *form1 = nullptr;
    TForm2 *form2 = nullptr;
    TForm3 *form3 = nullptr;
    TAboutBox *aboutBox = nullptr;
    TForm5 *form5 = nullptr;
    TForm6 *form6 = nullptr;
    TForm7 *form7 = nullptr;
    TForm8 *form8 = nullptr;
    TForm9 *form9 = nullptr;
    TForm10 *form10 = nullptr;
    TForm11 *form11 = nullptr;
    TForm12 *form12 = nullptr;
    TForm13 *form13 = nullptr;
};

// Owns the windows; destroys them in reverse order of creation.
class WindowSet {
public:
    explicit WindowSet(AppState &state);
    ~WindowSet();
    WindowSet(const WindowSet &) = delete;
    WindowSet &operator=(const WindowSet &) = delete;

    Windows &windows() { return w; }

private:
    Windows w;
};

} // namespace tablix
