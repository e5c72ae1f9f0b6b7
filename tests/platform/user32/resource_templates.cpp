// The program's resource script read back from the compiled .res: the menu
// "ZARVEN", the comparison window's menu and the dialog "PIDABOUT" with their
// exact texts and rectangles.
#include "platform/resources/resources.h"
#include "platform/resources/templates.h"

#include "platform/user32/testing.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

namespace {

using resources::Id;

std::vector<resources::MenuItem> Menu(const char* name = "zarven")
{
    auto data = resources::Find(Id{resources::kTypeMenu, {}}, resources::IdFromName(name));
    EXPECT_TRUE(data.has_value());
    return data ? resources::ReadMenu(*data).value_or(std::vector<resources::MenuItem>{})
                : std::vector<resources::MenuItem>{};
}

resources::DialogTemplate About()
{
    auto data = resources::Find(Id{resources::kTypeDialog, {}}, resources::IdFromName("PIDABOUT"));
    EXPECT_TRUE(data.has_value());
    return data ? resources::ReadDialog(*data).value_or(resources::DialogTemplate{}) : resources::DialogTemplate{};
}

// A popup's title and its items in order; an item without text is a separator.
struct Item {
    std::u16string_view text;
    WORD id = 0;
    WORD state = 0;
};

void ExpectPopup(const resources::MenuItem& popup, std::u16string_view text, std::initializer_list<Item> items)
{
    EXPECT_EQ(popup.text, text);
    ASSERT_EQ(popup.children.size(), items.size());
    std::size_t i = 0;
    for (const Item& want : items) {
        const resources::MenuItem& got = popup.children[i];
        SCOPED_TRACE(i++);
        EXPECT_EQ(got.separator, want.text.empty());
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.state, want.state);
    }
}

TEST(ResourceTemplates, MenuTextsIdentifiersAndSeparators)
{
    constexpr WORD kGrayed = 0x0001; // until a file is on screen
    auto menu = Menu();
    ASSERT_EQ(menu.size(), 4u);
    ExpectPopup(menu[0], u"ファイル(&F)",
                {{u"開く(&O)", 101}, {u"再読み込み(&R)\tF5", 102, kGrayed}, {u"自動更新(&U)", 103, kGrayed}, {},
                 {u"印刷(&P)", 105}, {}, {u"終了(&X)", 109}});
    ExpectPopup(menu[1], u"編集(&E)", {{u"ページをコピー(&C)", 201}, {u"データのコピー(&D)", 202, kGrayed}});
    ExpectPopup(menu[2], u"解析(&A)",
                {{u"応答特性(&R)...", 301, kGrayed}, {u"比較(&C)...", 302}, {u"調整の提案(&T)...", 303, kGrayed}});
    ExpectPopup(menu[3], u"ヘルプ(&H)", {{u"バージョン情報(&A)", 902}});
    // The comparison window's menu: print and close, copy, and the view's
    // commands, which the tuning window's menu ends with too.
    auto compare = Menu("PIDCOMPARE");
    ASSERT_EQ(compare.size(), 3u);
    ExpectPopup(compare[0], u"ファイル(&F)", {{u"印刷(&P)\tCtrl+P", 311}, {}, {u"閉じる(&C)\tCtrl+W", 319}});
    ExpectPopup(compare[1], u"編集(&E)", {{u"コピー(&C)\tCtrl+C", 312}});
    const std::initializer_list<Item> view = {{u"特性の目印(&M)", 371}, {}, {u"拡大(&I)\t+", 372}, {u"縮小(&O)\t-", 373},
                                              {u"元の範囲(&R)\tCtrl+Home", 374}};
    ExpectPopup(compare[2], u"表示(&V)", view);
    // The tuning window's adds how fast a suggestion may be, and the drive's limit.
    auto tune = Menu("PIDTUNE");
    ASSERT_EQ(tune.size(), 4u);
    ExpectPopup(tune[2], u"表示(&V)", view);
    constexpr WORD kChecked = 0x0008;
    ExpectPopup(tune[3], u"調整(&S)",
                {{u"速い (τc = θe)(&1)", 363, kChecked}, {u"標準 (τc = 2θe)(&2)", 364}, {u"穏やか (τc = 3θe)(&3)", 365},
                 {}, {u"出力上限(&L)...", 366}});
}

TEST(ResourceTemplates, AboutDialogFrame)
{
    auto dialog = About();
    EXPECT_EQ(dialog.title, u"ZARVENのバージョン情報");
    EXPECT_EQ(dialog.typeface, u"ＭＳ Ｐゴシック");
    EXPECT_EQ(dialog.pointSize, 10);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 171);
    EXPECT_EQ(dialog.cy, 111);
    // Popup, visible, caption, modal frame, 3-D look, context help; no system menu.
    EXPECT_EQ(dialog.style & 0xFFFF0000u, 0x80000000u | 0x10000000u | 0x00C00000u);
    EXPECT_EQ(dialog.style & (0x80u | 0x04u | 0x2000u), 0x80u | 0x04u | 0x2000u);
    EXPECT_EQ(dialog.exStyle, 0x400u | 0x1u);
}

TEST(ResourceTemplates, AboutDialogControls)
{
    auto dialog = About();
    struct Expected {
        resources::ControlKind kind;
        int id;
        short x, y, cx, cy;
    };
    const Expected expected[] = {
        {resources::ControlKind::Button, 1, 60, 92, 50, 14}, {resources::ControlKind::Static, -1, 4, 4, 160, 80},
        {resources::ControlKind::Static, -1, 24, 16, 124, 16}, {resources::ControlKind::Static, -1, 12, 56, 148, 8},
        {resources::ControlKind::Static, -1, 12, 64, 148, 8}, {resources::ControlKind::Static, -1, 14, 12, 144, 24},
        {resources::ControlKind::Static, -1, 11, 43, 149, 1}, {resources::ControlKind::Static, -1, 11, 48, 148, 8},
        {resources::ControlKind::Static, -1, 12, 76, 148, 1},
    };
    ASSERT_EQ(dialog.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& c = dialog.controls[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(resources::KindOf(c), expected[i].kind);
        EXPECT_EQ(c.id, expected[i].id);
        EXPECT_EQ(c.x, expected[i].x);
        EXPECT_EQ(c.y, expected[i].y);
        EXPECT_EQ(c.cx, expected[i].cx);
        EXPECT_EQ(c.cy, expected[i].cy);
    }
    EXPECT_EQ(dialog.controls[0].text, u"OK");
    EXPECT_EQ(dialog.controls[0].style & 0x0001000Fu, 0x00010000u); // plain push button, tab stop
    EXPECT_EQ(dialog.controls[0].style & 0x300u, 0x300u);          // centred
    EXPECT_EQ(dialog.controls[2].text, u"PID制御計測データ表示(モータ版用) Ver1.00");
    for (std::size_t i : {1u, 5u, 6u, 8u})
        EXPECT_EQ(dialog.controls[i].style & 0x1Fu, 0x12u) << i; // etched frames
    for (std::size_t i : {2u, 3u, 4u, 7u})
        EXPECT_EQ(dialog.controls[i].style & 0x1Fu, 0x1u) << i; // centred texts
}

TEST(ResourceTemplates, OneLineTextsFitTheirWidthAtTenPoints)
{
    auto dialog = About();
    int baseX = user32::testing::DialogBaseUnitX(dialog.typeface, dialog.pointSize);
    for (std::size_t i : {3u, 4u, 7u}) {
        const auto& c = dialog.controls[i];
        EXPECT_LE(user32::testing::TextWidth(dialog.typeface, dialog.pointSize, c.text), (c.cx * baseX + 2) / 4)
            << "control " << i;
    }
}

TEST(ResourceTemplates, MalformedDataIsRefused)
{
    const std::byte shortMenu[] = {std::byte{0}, std::byte{0}, std::byte{0}};
    EXPECT_FALSE(resources::ReadMenu(shortMenu).has_value());
    const std::byte unterminated[] = {std::byte{0}, std::byte{0}, std::byte{0}, std::byte{0},
                                      std::byte{0x10}, std::byte{0}, std::byte{'A'}, std::byte{0}};
    EXPECT_FALSE(resources::ReadMenu(unterminated).has_value());
    EXPECT_FALSE(resources::ReadDialog(std::span<const std::byte>(shortMenu, 3)).has_value());
    EXPECT_FALSE(resources::Find(Id{resources::kTypeDialog, {}}, resources::IdFromName("NOSUCH")).has_value());
}

} // namespace
