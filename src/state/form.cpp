// The designed layout of Form3 and NameInp, control by control.
#include "state/form.h"

namespace vern {

int RowTop(int slot) {
    static constexpr int kRows[5] = {1440, 2040, 2640, 3240, 3840};
    return kRows[slot % 5];
}

Picture FallbackPicture() {
    return Picture{"fallback", "", kFallbackWidthPx, kFallbackHeightPx};
}

namespace {

Font Gothic(double size, bool bold = true) {
    return Font{"ＭＳ Ｐゴシック", size, bold};
}

} // namespace

Form3 MakeForm3() {
    Form3 f;
    static const char* const kWishCaptions[13] = {
        kWishZeroCaption,  "〆 聖剣師", "∬ 魔剣師",      "＊ スタンピード", "Θ アンチライフ",
        "％ ダブルライフ", "○ 白僧",    "● 黒僧",        "⇒ クイック",      "Ω ＭＡＸ",
        "⊃ 喰師",          "卍 支配者", "Ⅸ フォーナイン"};
    for (int i = 0; i <= 12; ++i) f.願い[i] = MenuItem{kWishCaptions[i], true};

    f.Label1 = Label{
        {120, 120, 6615, 1215}, "", colors::kPanelBack, colors::kBlack, false, true, Gothic(12)};
    for (int i = 0; i <= 9; ++i) {
        const bool enemy = i >= 5;
        const int y = RowTop(i);
        f.Label2[i] = Label{{enemy ? 4440 : 120, y, 2295, 255},
                            "",
                            colors::kNameBack,
                            colors::kBlack,
                            false,
                            true,
                            Gothic(12)};
        f.Label3[i] = Label{{enemy ? 4440 : 120, y + 240, 2295, 255},
                            "",
                            colors::kWhite,
                            colors::kBlack,
                            false,
                            true,
                            Gothic(12)};
        f.Label4[i] = Label{{enemy ? 6360 : 2040, y + 240, 375, 255},
                            "〆",
                            colors::kNameBack,
                            colors::kBlack,
                            false,
                            true,
                            Gothic(12)};
        f.Shape1[i] = Shape{{enemy ? 4080 : 2520, y + 120, 255, 255}, colors::kBlack, true};
        f.Label8[i] =
            Label{f.Shape1[i].r, "", colors::kGrey, colors::kBlack, false, true, Gothic(9)};
        f.Label5[i] = Label{
            {enemy ? 3960 : 2400, y, 495, 495}, "×", colors::kGrey, colors::kBlack, true, false,
            Font{"ＭＳ Ｐ明朝", 27.75, false}};
    }
    for (int i = 0; i <= 4; ++i) {
        const int y = RowTop(i);
        f.Label6[i] = Label{{2760, y + 120, 375, 255},
                            std::to_string(i + 1),
                            colors::kWhite,
                            colors::kBlack,
                            false,
                            true,
                            Gothic(14.25)};
        f.Line2[i] = Line{2640, y + 240, 4200, y + 240, colors::kRed, 2, true};
    }
    f.Line1 = Line{0, 0, 6840, 0, colors::kBlack, 1, true};
    static constexpr int kCommandX[4] = {5160, 3480, 1800, 120};
    static const char* const kCommandCaptions[4] = {"Ｙｅｓ", "Ｎｏ", "", ""};
    for (int i = 0; i <= 3; ++i)
        f.Command1[i] =
            Button{{kCommandX[i], 4680, 1455, 495}, kCommandCaptions[i], true, true, Gothic(15.75)};
    f.Label9 = Label{{0, 0, 6855, 5505}, "", colors::kGrey, colors::kBlack, true, false, Gothic(9)};
    f.Picture1 = PictureBox{{3435, 1440, 0, 0}, {}, colors::kGrey, false};
    f.Picture2 = PictureBox{{0, 0, 6855, 5505}, {}, colors::kStoryBack, false};
    f.Image5 = Image{{120, 120, 6495, 3735}, {}, false};
    f.Label7 = Label{{120, 3960, 6495, 1335},
                     "４行マデ",
                     colors::kBlack,
                     colors::kWhite,
                     false,
                     true,
                     Gothic(14.25)};
    f.Command2 = Button{{5880, 3480, 855, 495}, "≫", true, true, Gothic(24)};
    f.Command3 =
        Button{{6120, 0, 675, 375}, "早送り", true, true, Font{"ＭＳ Ｐゴシック", 9, false}};
    f.Command4[0] = Button{{1680, 3120, 1335, 735}, "はい", true, true, Gothic(20.25)};
    f.Command4[1] = Button{{3720, 3120, 1335, 735}, "いいえ", true, true, Gothic(20.25)};
    f.Picture3 = PictureBox{{3360, 2040, 255, 255}, {}, colors::kStoryBack, true};
    f.Img[0] = Image{{7200, 2640, 495, 495}, {}, true};
    static constexpr int kImgX[5] = {7200, 7800, 8400, 9000, 9600};
    static constexpr int kImgY[4] = {3240, 3840, 4440, 5040};
    for (int i = 1; i <= 20; ++i)
        f.Img[i] = Image{{kImgX[(i - 1) % 5], kImgY[(i - 1) / 5], 495, 495}, {}, true};
    f.Image0 = Image{{7200, 120, 1950, 2430}, FallbackPicture(), true};
    f.Image1 = Image{{9720, 240, 1215, 975}, {}, true};
    return f;
}

NameInpForm MakeNameInp() {
    NameInpForm n;
    n.Picture1 = PictureBox{{1080, 0, 2790, 3240}, {}, colors::kGrey, true};
    n.Label1 = Label{{480, 3360, 3975, 375},
                     "主人公の名前を入れて下さい。",
                     colors::kGrey,
                     colors::kBlack,
                     false,
                     true,
                     Font{"ＭＳ Ｐ明朝", 14.25, true}};
    n.Text1.r = {600, 3840, 3615, 420};
    n.Text1.font = Gothic(14.25);
    n.Command1 = Button{{120, 4560, 1575, 375}, "デフォルト", true, true, Gothic(14.25)};
    n.Command2 = Button{{1920, 4560, 1335, 375}, "ランダム", true, true, Gothic(14.25)};
    n.Command3 = Button{{3600, 4440, 1215, 615}, "決定", true, true, Gothic(18)};
    return n;
}

} // namespace vern
