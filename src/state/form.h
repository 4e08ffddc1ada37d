// The main window Form3 and the name dialog NameInp as plain data: every control by its own
// name, with the fields the game reads and writes. The front ends draw from this model and
// never decide anything themselves. Positions and sizes are in twips (15 to a pixel).
#pragma once

#include <cstdint>
#include <string>

#include "state/arr.h"

namespace vern {

using Color = std::uint32_t; // 0xRRGGBB

constexpr Color RGB(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

namespace colors {
constexpr Color kWhite = RGB(255, 255, 255);
constexpr Color kBlack = RGB(0, 0, 0);
constexpr Color kGrey = RGB(192, 192, 192);
constexpr Color kRed = RGB(255, 0, 0);
constexpr Color kYellow = RGB(255, 255, 0);
constexpr Color kNameBack = RGB(224, 224, 224);
constexpr Color kPanelBack = RGB(255, 255, 192);
constexpr Color kHintBack = RGB(224, 255, 192);
constexpr Color kStoryBack = RGB(128, 255, 128);
constexpr Color kButtonFace = RGB(240, 240, 240);
} // namespace colors

struct Rect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const Rect&) const = default;
};

struct Font {
    std::string Name = "ＭＳ Ｐゴシック";
    double Size = 9; // points
    bool Bold = true;
    bool operator==(const Font&) const = default;
};

// A picture held by an image holder or a picture box. name is "folder/name" as it was asked
// for, "fallback" when the built-in picture stands in, or "" for none.
struct Picture {
    std::string name;
    std::string path; // the file it was read from; empty for the fallback and for none
    int widthPx = 0;
    int heightPx = 0;
    bool operator==(const Picture&) const = default;
};

struct Label {
    Rect r;
    std::string Caption;
    Color BackColor = colors::kGrey;
    Color ForeColor = colors::kBlack;
    bool Transparent = false;
    bool Visible = true;
    Font font;
    bool operator==(const Label&) const = default;
};

struct Button {
    Rect r;
    std::string Caption;
    bool Enabled = true;
    bool Visible = true;
    Font font;
    bool operator==(const Button&) const = default;
};

struct Shape { // a filled circle
    Rect r;
    Color FillColor = colors::kBlack;
    bool Visible = true;
    bool operator==(const Shape&) const = default;
};

struct Line {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    Color LineColor = colors::kBlack;
    int BorderWidth = 1;
    bool Visible = true;
    bool operator==(const Line&) const = default;
};

struct Image { // an image holder
    Rect r;
    Picture picture;
    bool Visible = true;
    bool operator==(const Image&) const = default;
};

struct PictureBox {
    Rect r;
    Picture picture;
    Color BackColor = colors::kGrey;
    bool Visible = true;
    bool operator==(const PictureBox&) const = default;
};

struct MenuItem {
    std::string Caption;
    bool Enabled = true;
    bool operator==(const MenuItem&) const = default;
};

struct Timer {
    int Interval = 200; // ms
    bool operator==(const Timer&) const = default;
};

struct Form3 {
    std::string Caption = "ヴェルナドーラ演義";
    int Width = 6945, Height = 6165; // outer size
    int ClientWidth = 6855, ClientHeight = 5505;
    Color BackColor = colors::kGrey;

    // Menus.
    MenuItem 願い一覧{"願い一覧"};
    Arr<MenuItem, 0, 12> 願い;
    MenuItem ファイル{"ファイル"};
    MenuItem セーブ{"セーブ", false};
    MenuItem ロード{"ロード"};
    MenuItem 始めから{"始めから"};
    MenuItem ゲームの終了{"ゲームの終了"};

    Label Label1;
    Arr<Label, 0, 9> Label2, Label3, Label4, Label5, Label8;
    Arr<Shape, 0, 9> Shape1;
    Arr<Label, 0, 4> Label6;
    Arr<Line, 0, 4> Line2;
    Line Line1;
    Arr<Button, 0, 3> Command1;
    Label Label9;
    PictureBox Picture1;

    // The story panel and what it contains.
    PictureBox Picture2;
    Image Image5;
    Label Label7;
    Button Command2;
    Button Command3;
    Arr<Button, 0, 1> Command4;
    PictureBox Picture3;

    Timer Timer1;

    // Image store and holders outside the visible area.
    Arr<Image, 0, 20> Img;
    Image Image0;
    Image Image1;

    bool operator==(const Form3&) const = default;
};

struct NameInpForm {
    bool open = false;
    std::string Caption = "主人公";
    int ClientWidth = 5010, ClientHeight = 5235;
    PictureBox Picture1;
    Label Label1;
    struct TextBox {
        Rect r;
        std::string Text;
        int SelStart = 0; // caret, in characters
        bool focused = false;
        Font font;
        bool operator==(const TextBox&) const = default;
    } Text1;
    Button Command1, Command2, Command3;

    bool operator==(const NameInpForm&) const = default;
};

// The window as the game designs it; Start then puts it into the new-game state.
Form3 MakeForm3();
// The designed caption of 願い(0), which a new game shows again whatever a trade wrote there.
inline constexpr const char* kWishZeroCaption = "    願いなきもの";
NameInpForm MakeNameInp();

// The board rows' y values, party and enemy side alike.
int RowTop(int slot);

// Size of the built-in fallback picture.
constexpr int kFallbackWidthPx = 130;
constexpr int kFallbackHeightPx = 162;
Picture FallbackPicture();

} // namespace vern
