// A walk over every control of the window model and the name dialog: each lies inside its
// client area, the board's rows keep apart, and the model as the game starts it is the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_services.h"
#include "shell/events.h"

namespace vern::test {
namespace {

struct Placed {
    std::string name;
    Rect r;
};

std::string Indexed(const char* name, int i) {
    return std::string(name) + "_" + std::to_string(i);
}

Rect LineBox(const Line& l) {
    return {std::min(l.X1, l.X2), std::min(l.Y1, l.Y2), std::abs(l.X2 - l.X1),
            std::abs(l.Y2 - l.Y1)};
}

// Every control of Form3 with a place in its client area (the image store lies outside it by
// design, and Picture1 takes the size of the picture it shows).
std::vector<Placed> Controls(const Form3& f) {
    std::vector<Placed> all{
        {"Label1", f.Label1.r},     {"Label9", f.Label9.r},     {"Picture2", f.Picture2.r},
        {"Image5", f.Image5.r},     {"Label7", f.Label7.r},     {"Command2", f.Command2.r},
        {"Command3", f.Command3.r}, {"Picture3", f.Picture3.r}, {"Line1", LineBox(f.Line1)}};
    for (int i = 0; i <= 9; ++i) {
        all.push_back({Indexed("Label2", i), f.Label2[i].r});
        all.push_back({Indexed("Label3", i), f.Label3[i].r});
        all.push_back({Indexed("Label4", i), f.Label4[i].r});
        all.push_back({Indexed("Label5", i), f.Label5[i].r});
        all.push_back({Indexed("Label8", i), f.Label8[i].r});
        all.push_back({Indexed("Shape1", i), f.Shape1[i].r});
    }
    for (int i = 0; i <= 4; ++i) {
        all.push_back({Indexed("Label6", i), f.Label6[i].r});
        all.push_back({Indexed("Line2", i), LineBox(f.Line2[i])});
    }
    for (int i = 0; i <= 3; ++i) all.push_back({Indexed("Command1", i), f.Command1[i].r});
    for (int i = 0; i <= 1; ++i) all.push_back({Indexed("Command4", i), f.Command4[i].r});
    return all;
}

bool Inside(const Rect& r, int width, int height) {
    return r.Left >= 0 && r.Top >= 0 && r.Width >= 0 && r.Height >= 0 &&
           r.Left + r.Width <= width && r.Top + r.Height <= height;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

Rect Union(const Rect& a, const Rect& b) {
    const int left = std::min(a.Left, b.Left), top = std::min(a.Top, b.Top);
    const int right = std::max(a.Left + a.Width, b.Left + b.Width);
    const int bottom = std::max(a.Top + a.Height, b.Top + b.Height);
    return {left, top, right - left, bottom - top};
}

void Walk(const Form3& f, const char* when) {
    for (const Placed& c : Controls(f))
        EXPECT_TRUE(Inside(c.r, f.ClientWidth, f.ClientHeight))
            << when << ": " << c.name << " at " << c.r.Left << "," << c.r.Top << " " << c.r.Width
            << "×" << c.r.Height;
    // A row: name, hit points, wish, marker and cross of one slot.
    std::vector<Rect> rows;
    for (int i = 0; i <= 9; ++i)
        rows.push_back(Union(Union(Union(f.Label2[i].r, f.Label3[i].r), f.Label4[i].r),
                             Union(f.Shape1[i].r, f.Label5[i].r)));
    for (int i = 0; i <= 9; ++i)
        for (int j = i + 1; j <= 9; ++j)
            EXPECT_FALSE(Overlap(rows[i], rows[j])) << when << ": rows " << i << " and " << j;
    // The command bar lies below the board and inside the window.
    for (int i = 0; i <= 3; ++i)
        for (const Rect& row : rows) EXPECT_FALSE(Overlap(f.Command1[i].r, row)) << when;
}

TEST(FormWalk, EveryControlLiesInsideItsWindowAndTheRowsKeepApart) {
    Walk(MakeForm3(), "as designed");
    FakeServices svc;
    Game g(svc);
    g.rng.Seed(1);
    g.rng.fixedSeed = true;
    Open(g);
    Walk(g.f, "after Start");

    const NameInpForm n = MakeNameInp();
    const std::vector<Placed> dialog{{"Picture1", n.Picture1.r}, {"Label1", n.Label1.r},
                                     {"Text1", n.Text1.r},       {"Command1", n.Command1.r},
                                     {"Command2", n.Command2.r}, {"Command3", n.Command3.r}};
    for (const Placed& c : dialog)
        EXPECT_TRUE(Inside(c.r, n.ClientWidth, n.ClientHeight)) << "NameInp " << c.name;
    for (std::size_t i = 0; i < dialog.size(); ++i)
        for (std::size_t j = i + 1; j < dialog.size(); ++j)
            EXPECT_FALSE(Overlap(dialog[i].r, dialog[j].r))
                << "NameInp " << dialog[i].name << " and " << dialog[j].name;
}

} // namespace
} // namespace vern::test
