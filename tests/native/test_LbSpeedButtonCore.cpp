// The speed button's state machine, driven through a fake host and ticker.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RecordingCanvas.h"
#include "controls/ImageList.h"
#include "controls/SpeedButtonCore.h"
#include "kit/window/KitButtonLook.h"

using namespace lb;

namespace {

class FakeTicker : public FadeTicker {
public:
    explicit FakeTicker(std::function<void()> tick) : tick_(std::move(tick)) {}
    void Resume() override {
        suspended_ = false;
        ++resumes;
    }
    void Suspend() override { suspended_ = true; }
    bool Suspended() const override { return suspended_; }
    // Like the real ticker, the tick it was waiting to hand over still runs.
    // Stopping can't fail: a ticker that can't confirm its end waits on.
    void Stop() noexcept override {
        if (!suspended_) tick_();
    }
    // Runs one tick as the ticker would while running.
    void Tick() {
        ASSERT_FALSE(suspended_) << "a suspended ticker does not tick";
        tick_();
    }
    int resumes = 0;

private:
    std::function<void()> tick_;
    bool suspended_ = true;
};

class FakeHost : public ButtonHost {
public:
    void Invalidate() override { ++invalidates; }
    void PaintNow() override { ++paints; }
    bool Showing() const override { return showing; }
    int ScreenBitsPerPixel() const override { return bitsPerPixel; }
    std::vector<SpeedButtonCore*> SiblingButtons() override {
        return siblings ? *siblings : std::vector<SpeedButtonCore*>{};
    }
    std::unique_ptr<FadeTicker> CreateFadeTicker(std::function<void()> tick) override {
        auto created = std::make_unique<FakeTicker>(std::move(tick));
        ticker = created.get();
        return created;
    }
    Point ClientToScreen(Point point) const override { return {point.x + 300, point.y + 120}; }
    void CaptionChanged() override { ++captionChanges; }
    void EnabledChanged() override { ++enabledChanges; }
    void FollowParent() override { ++follows; }
    void SetShown(bool visible) override { shown = visible; }
    bool ParentShowsHints() const override { return parentShowsHints; }
    void SetHintPending(bool pending) override { hintPending = pending; }

    int Repaints() const { return invalidates + paints; }

    int invalidates = 0, paints = 0, captionChanges = 0, enabledChanges = 0, follows = 0;
    bool showing = true, shown = true, parentShowsHints = false, hintPending = false;
    int bitsPerPixel = 32;
    std::vector<SpeedButtonCore*>* siblings = nullptr;
    FakeTicker* ticker = nullptr;
};

struct Button {
    FakeHost host;
    SpeedButtonCore core{host};
    int enters = 0, exits = 0, clicks = 0;
    Button() {
        core.OnMouseEnter = [this] { ++enters; };
        core.OnMouseExit = [this] { ++exits; };
        core.OnClick = [this] { ++clicks; };
    }
    void Press() {
        core.MouseDown(TMouseButton::mbLeft, 0, 5, 5);
        core.MouseUp(TMouseButton::mbLeft, 0, 5, 5);
    }
};

class LbPopupRecorder : public DropDownMenu {
public:
    explicit LbPopupRecorder(std::vector<std::string>& log) : log_(log) {}
    void Popup(int x, int y) override { log_.push_back("popup " + std::to_string(x) + "," + std::to_string(y)); }

private:
    std::vector<std::string>& log_;
};

}  // namespace

TEST(LbSpeedButtonCore, HotTrackingEntersAtFullLevelAndLeavesAtOnce) {
    Button b;
    b.core.MouseEnter();
    EXPECT_TRUE(b.core.MouseInside());
    EXPECT_EQ(b.core.FadeLevel(), 8);
    EXPECT_EQ(b.host.paints, 1) << "an opaque button repaints at once";
    EXPECT_EQ(b.enters, 1);

    b.core.MouseLeave();
    EXPECT_FALSE(b.core.MouseInside());
    EXPECT_EQ(b.core.FadeLevel(), 0);
    EXPECT_EQ(b.host.paints, 2);
    EXPECT_EQ(b.exits, 1);

    b.core.SetTransparent(true);
    const int invalidates = b.host.invalidates, paints = b.host.paints;
    b.core.MouseEnter();
    EXPECT_EQ(b.host.invalidates, invalidates + 1) << "a transparent button lets the parent repaint below it";
    EXPECT_EQ(b.host.paints, paints);
}

TEST(LbSpeedButtonCore, DisabledOrHiddenButtonIgnoresTheMouse) {
    Button disabled;
    disabled.core.SetEnabled(false);
    disabled.core.MouseEnter();
    EXPECT_FALSE(disabled.core.MouseInside());
    EXPECT_EQ(disabled.core.FadeLevel(), 0);
    EXPECT_EQ(disabled.enters, 0);
    disabled.core.MouseLeave();
    EXPECT_EQ(disabled.exits, 0);

    Button hidden;
    hidden.host.showing = false;
    hidden.core.MouseEnter();
    EXPECT_FALSE(hidden.core.MouseInside());
    EXPECT_EQ(hidden.enters, 0);
}

TEST(LbSpeedButtonCore, ButtonDisabledWhileHotShowsPlainColourAndLeavesSilently) {
    Button b;
    b.core.SetColor(0x0000C0C0);
    b.core.SetHotTrackColor(0x0000DFDF);
    b.core.MouseEnter();
    b.core.SetEnabled(false);
    EXPECT_TRUE(b.core.MouseInside());
    EXPECT_EQ(b.host.enabledChanges, 1);

    RecordingCanvas canvas;
    b.core.Paint(canvas);
    EXPECT_EQ(canvas.Of(RecordedOp::Rectangle).at(0).brush, 0x0000C0C0u) << "no hot blend when disabled";

    const int repaints = b.host.Repaints();
    b.core.MouseLeave();
    EXPECT_EQ(b.core.FadeLevel(), 0);
    EXPECT_EQ(b.host.Repaints(), repaints + 1);
    EXPECT_EQ(b.exits, 0);
}

TEST(LbSpeedButtonCore, SlowDeceaseFadesThroughSevenToZeroOneTickEach) {
    Button b;
    b.core.SetHotTrackColor(0x0000DFDF);
    b.core.SetSlowDecease(true);
    ASSERT_NE(b.host.ticker, nullptr);
    EXPECT_TRUE(b.host.ticker->Suspended()) << "created suspended";

    b.core.MouseEnter();
    const int paints = b.host.paints;
    b.core.MouseLeave();
    EXPECT_EQ(b.core.FadeLevel(), 8) << "the ticks do the fading";
    EXPECT_EQ(b.host.paints, paints);
    EXPECT_FALSE(b.host.ticker->Suspended());

    for (int expected = 7; expected >= 0; --expected) {
        b.host.ticker->Tick();
        EXPECT_EQ(b.core.FadeLevel(), expected);
    }
    EXPECT_EQ(b.host.paints, paints + 8) << "one repaint per tick";
    EXPECT_TRUE(b.host.ticker->Suspended()) << "idle once faded out";

    // Re-entering mid-fade jumps back to full; the running ticker fades even
    // while the pointer stays.
    b.core.MouseEnter();
    b.core.MouseLeave();
    b.host.ticker->Tick();
    b.host.ticker->Tick();
    b.core.MouseEnter();
    EXPECT_EQ(b.core.FadeLevel(), 8);
    b.host.ticker->Tick();
    EXPECT_EQ(b.core.FadeLevel(), 7);
    EXPECT_EQ(b.host.ticker->resumes, 2);
    EXPECT_FALSE(b.host.ticker->Suspended());
}

TEST(LbSpeedButtonCore, TurningSlowDeceaseOffStopsTheTickerAndDropsTheLevel) {
    Button b;
    b.core.SetSlowDecease(true);
    b.core.MouseEnter();
    b.core.MouseLeave();
    b.core.SetSlowDecease(false);
    EXPECT_FALSE(b.core.HasFadeTicker());
    EXPECT_EQ(b.core.FadeLevel(), 0);

    // Leaving without a ticker drops the level at once.
    b.core.MouseEnter();
    b.core.MouseLeave();
    EXPECT_EQ(b.core.FadeLevel(), 0);

    // Stopping can't fail, so the button never keeps a half-stopped ticker.
    static_assert(noexcept(std::declval<FadeTicker&>().Stop()), "stopping a fade ticker can't fail");
}

TEST(LbSpeedButtonCore, TickArrivingDuringDestructionDoesNothing) {
    auto host = std::make_unique<FakeHost>();
    auto core = std::make_unique<SpeedButtonCore>(*host);
    core->SetSlowDecease(true);
    core->MouseEnter();
    core->MouseLeave();  // the ticker runs
    const int repaints = host->Repaints();
    core.reset();  // its Stop serves one last tick
    EXPECT_EQ(host->Repaints(), repaints);
}

TEST(LbSpeedButtonCore, UngroupedButtonIsDownOnlyWhileTheLeftButtonIsHeld) {
    Button b;
    b.core.MouseDown(TMouseButton::mbRight, 0, 1, 1);
    EXPECT_FALSE(b.core.Down());
    b.core.MouseDown(TMouseButton::mbLeft, 0, 1, 1);
    EXPECT_TRUE(b.core.Down());
    b.core.MouseUp(TMouseButton::mbRight, 0, 1, 1);  // any button's release lets go
    EXPECT_FALSE(b.core.Down());
}

TEST(LbSpeedButtonCore, GroupOfThreeKeepsOneDown) {
    Button b[3];
    Button other;
    std::vector<SpeedButtonCore*> parent = {&b[0].core, &b[1].core, &b[2].core, &other.core};
    for (Button& button : b) {
        button.host.siblings = &parent;
        button.core.SetGroupIndex(1);
    }
    other.host.siblings = &parent;
    other.core.SetGroupIndex(2);
    other.core.SetDown(true);

    b[0].Press();
    EXPECT_TRUE(b[0].core.Down()) << "a grouped button stays down after release";
    b[1].Press();
    EXPECT_FALSE(b[0].core.Down());
    EXPECT_TRUE(b[1].core.Down());
    EXPECT_FALSE(b[2].core.Down());
    EXPECT_TRUE(other.core.Down()) << "another group is not touched";

    b[1].Press();
    EXPECT_TRUE(b[1].core.Down()) << "without AllowAllUp the down button can't be released";

    b[1].core.SetAllowAllUp(true);
    b[1].Press();
    EXPECT_FALSE(b[1].core.Down());
    EXPECT_FALSE(b[0].core.Down() || b[2].core.Down());

    b[2].core.SetDown(true);  // setting Down in code follows the same rule
    b[0].core.SetDown(true);
    EXPECT_FALSE(b[2].core.Down());
}

TEST(LbSpeedButtonCore, AcceleratorFlashesDownClicksAndRestores) {
    Button b;
    b.core.SetCaption("&Inchide");
    bool downDuringClick = false;
    b.core.OnClick = [&] {
        ++b.clicks;
        downDuringClick = b.core.Down();
    };
    const int paints = b.host.paints;
    EXPECT_TRUE(b.core.DialogChar('i'));
    EXPECT_EQ(b.clicks, 1);
    EXPECT_TRUE(downDuringClick);
    EXPECT_FALSE(b.core.Down());
    EXPECT_GE(b.host.paints, paints + 2) << "painted down and up again";

    EXPECT_FALSE(b.core.DialogChar('n'));
    b.core.SetCaption("R&&D");
    EXPECT_FALSE(b.core.DialogChar('d')) << "a doubled ampersand is no accelerator";

    b.core.SetCaption("&Go");
    b.core.SetGroupIndex(3);
    b.core.SetDown(true);
    EXPECT_TRUE(b.core.DialogChar('G'));
    EXPECT_TRUE(b.core.Down()) << "the previous Down comes back";

    // The key is the UTF-16 unit of WM_CHAR; the caption's letter is UTF-8.
    b.core.SetCaption("Ie&șire");
    EXPECT_TRUE(b.core.DialogChar(L'Ș'));
    EXPECT_TRUE(b.core.DialogChar(L'ș'));
    EXPECT_FALSE(b.core.DialogChar(L'\xC8')) << "the first byte of its UTF-8 is no key";
    EXPECT_FALSE(b.core.DialogChar(L's'));
    b.core.SetCaption("&Жёлтый");
    EXPECT_TRUE(b.core.DialogChar(L'ж'));

    b.core.SetEnabled(false);
    EXPECT_FALSE(b.core.DialogChar('g'));
    EXPECT_EQ(b.clicks, 5);
}

// Space and Enter on the focused button give the mouse's pressed look and click.
TEST(LbSpeedButtonCore, SpaceClicksOnReleaseEnterAtOnceRepeatsAddNothing) {
    Button b;
    bool downDuringClick = false;
    b.core.OnClick = [&] {
        ++b.clicks;
        downDuringClick = b.core.Down();
    };
    EXPECT_TRUE(b.core.KeyDown(ButtonKey::Space, false));
    EXPECT_TRUE(b.core.Down());
    EXPECT_TRUE(b.core.KeyDown(ButtonKey::Space, true));
    EXPECT_EQ(b.clicks, 0) << "Space clicks on its release";
    EXPECT_TRUE(b.core.KeyUp(ButtonKey::Space));
    EXPECT_EQ(b.clicks, 1);
    EXPECT_TRUE(downDuringClick);
    EXPECT_FALSE(b.core.Down());
    EXPECT_FALSE(b.core.KeyUp(ButtonKey::Space)) << "a release without its press is not the button's";

    EXPECT_TRUE(b.core.KeyDown(ButtonKey::Enter, false));
    EXPECT_EQ(b.clicks, 2);
    EXPECT_FALSE(b.core.Down());
    EXPECT_TRUE(b.core.KeyDown(ButtonKey::Enter, true));
    EXPECT_EQ(b.clicks, 2) << "a held Enter clicks once";

    b.core.KeyDown(ButtonKey::Space, false);
    b.core.CancelKeyPress();  // the focus went elsewhere
    EXPECT_FALSE(b.core.Down());
    EXPECT_FALSE(b.core.KeyUp(ButtonKey::Space));
    EXPECT_EQ(b.clicks, 2);

    b.core.SetEnabled(false);
    EXPECT_FALSE(b.core.KeyDown(ButtonKey::Space, false));
    EXPECT_FALSE(b.core.KeyDown(ButtonKey::Enter, false));
    EXPECT_FALSE(b.core.Down());
    EXPECT_EQ(b.clicks, 2);

    EXPECT_EQ(WithoutAccelerator("&Salvare && Iesire&"), "Salvare & Iesire&") << "the name a screen reader reads";
}

TEST(LbSpeedButtonCore, ClickOpensThePopupAtTheBottomLeftCornerFirst) {
    Button b;
    std::vector<std::string> log;
    LbPopupRecorder menu(log);
    b.core.SetPopupMenu(&menu);
    b.core.OnClick = [&] { log.push_back("click"); };
    b.core.Click();
    EXPECT_EQ(log, (std::vector<std::string>{"popup 300,143", "click"}));
    EXPECT_TRUE(b.core.Face().hasPopup);
}

TEST(LbSpeedButtonCore, ColorStylePresetAppliesItsRowAndReadsBackCustom) {
    Button b;
    b.host.bitsPerPixel = 8;  // a preset sets the style without the depth test
    b.core.SetFlat(true);
    const int paints = b.host.paints;
    b.core.SetColorStyle(lcsGold);  // its colours: the kit's buttons show them (tests/wine/LbButtonPixels)
    EXPECT_FALSE(b.core.Flat());
    EXPECT_EQ(b.core.Style(), bsModern);
    EXPECT_EQ(b.core.Font().color, clBlack);
    EXPECT_FALSE(b.core.ParentColor());
    EXPECT_EQ(b.core.ColorStyle(), lcsCustom);
    EXPECT_GT(b.host.paints, paints);

    b.core.SetColorStyle(lcsUltraFlatXP);
    EXPECT_TRUE(b.core.Flat());
    EXPECT_EQ(b.core.ShadowColor(), b.core.LightColor() + 1) << "one unit of red above the light colour";
    const TColor color = b.core.Color();
    b.core.SetColorStyle(lcsCustom);
    EXPECT_EQ(b.core.Color(), color) << "lcsCustom changes nothing";
}

TEST(LbSpeedButtonCore, ModernStyleFallsBackToNormalOnA256ColourScreen) {
    Button b;
    b.host.bitsPerPixel = 8;
    b.core.SetStyle(bsModern);
    EXPECT_EQ(b.core.Style(), bsNormal);
    b.host.bitsPerPixel = 16;
    b.core.SetStyle(bsModern);
    EXPECT_EQ(b.core.Style(), bsModern);
}

TEST(LbSpeedButtonCore, GlyphSetsTheCellCountFromItsShape) {
    Button b;
    Bitmap strip(64, 16);
    b.core.SetGlyph(&strip);
    EXPECT_EQ(b.core.NumGlyphs(), 4);
    b.core.SetNumGlyphs(2);
    EXPECT_EQ(b.core.NumGlyphs(), 2);
    b.core.SetGlyph(nullptr);
    EXPECT_TRUE(b.core.Glyph().Empty());
    EXPECT_EQ(b.core.NumGlyphs(), 0);
    Bitmap flat(64, 0);
    b.core.SetGlyph(&flat);
    EXPECT_EQ(b.core.NumGlyphs(), 0);
}

TEST(LbSpeedButtonCore, ActionGivesCaptionEnabledStateGlyphAndCommand) {
    ImageList images(16, 16);
    Bitmap strip(48, 16, 0x00000011);
    strip.FillRect(16, 0, 32, 16, 0x00002200);
    images.Add(strip);
    ASSERT_EQ(images.Count(), 3);
    ActionList list{&images};
    int executed = 0;
    ButtonAction action;
    action.Caption = "Actualizare";
    action.ImageIndex = 1;
    action.ActionList = &list;
    action.OnExecute = [&] { ++executed; };

    Button b;
    b.core.OnClick = nullptr;
    b.core.SetAction(&action);
    EXPECT_EQ(b.core.Caption(), "Actualizare");
    ASSERT_EQ(b.core.Glyph().Width(), 16);
    EXPECT_EQ(b.core.Glyph().Pixel(3, 3), 0x00002200u);
    EXPECT_EQ(b.core.NumGlyphs(), 1);
    b.core.Click();
    EXPECT_EQ(executed, 1);

    Button outOfRange;
    action.ImageIndex = 3;
    action.Enabled = false;
    outOfRange.core.SetAction(&action);
    EXPECT_TRUE(outOfRange.core.Glyph().Empty());
    EXPECT_FALSE(outOfRange.core.Enabled());
}

TEST(LbSpeedButtonCore, PaintUsesTheHotTrackFontOnlyWhenAskedAndHot) {
    Button b;
    ButtonFont hot;
    hot.name = "Hot";
    b.core.SetHotTrackFont(hot);
    b.core.MouseEnter();
    EXPECT_NE(b.core.Face().font.name, "Hot");
    b.core.SetUseHotTrackFont(true);
    EXPECT_EQ(b.core.Face().font.name, "Hot");
    b.core.MouseLeave();
    EXPECT_NE(b.core.Face().font.name, "Hot");
    b.core.OwnerFormFont(ButtonFont());
    EXPECT_EQ(b.core.HotTrackFont().name, "Hot") << "a hot-track font set before the form's is kept";
}

// The look's colours and font are checked on the painted face under Wine;
// a screen of 256 colours is not.
TEST(LbKitButtonLook, GivesBsNormalOnA256ColourScreen) {
    Button palette;
    palette.host.bitsPerPixel = 8;
    kit::ApplyKitButtonLook(palette.core);
    EXPECT_EQ(palette.core.Style(), bsNormal) << "the preset's bsModern is set again through the depth test";
}

TEST(LbSpeedButtonCore, ParentColorAndFontAreFollowedUntilSetAndTakenAgainWhenTurnedOn) {
    Button b;
    ButtonFont parentFont;
    parentFont.name = "Parent";
    b.core.ParentColorChanged(0x00123456);
    b.core.ParentFontChanged(parentFont);
    EXPECT_EQ(b.core.Color(), 0x00123456u);
    EXPECT_EQ(b.core.Font().name, "Parent");
    b.core.SetColor(0x00000080);
    b.core.SetFont(ButtonFont());
    b.core.ParentColorChanged(0x00654321);
    b.core.ParentFontChanged(parentFont);
    EXPECT_EQ(b.core.Color(), 0x00000080u);
    EXPECT_NE(b.core.Font().name, "Parent");
    EXPECT_EQ(b.host.follows, 0);
    b.core.SetParentColor(true);
    b.core.SetParentFont(true);
    EXPECT_EQ(b.host.follows, 2) << "turning either on asks for the parent's colour and font";
}

TEST(LbSpeedButtonCore, ActionIsALinkTheButtonFollowsUntilTheActionGoes) {
    ImageList images(16, 16);
    Bitmap strip(32, 16, 0x00000011);
    strip.FillRect(16, 0, 32, 16, 0x00002200);
    images.Add(strip);
    ActionList list{&images};
    auto action = std::make_unique<ButtonAction>();
    action->Caption = "Actualizare";
    action->ImageIndex = 0;
    action->ActionList = &list;
    int executed = 0;
    action->OnExecute = [&] { ++executed; };

    Button b, own;
    b.core.OnClick = nullptr;
    b.core.SetAction(action.get());
    Bitmap ownGlyph(8, 8, 0x00000033);
    own.core.SetGlyph(&ownGlyph);
    own.core.SetAction(action.get());

    action->SetCaption("Inchide");
    action->SetHint("Inchide fereastra");
    action->SetEnabled(false);
    action->SetVisible(false);
    EXPECT_EQ(b.core.Caption(), "Inchide");
    EXPECT_EQ(b.core.Hint(), "Inchide fereastra");
    EXPECT_FALSE(b.core.Enabled());
    EXPECT_FALSE(b.host.shown);
    action->SetImageIndex(1);
    EXPECT_EQ(b.core.Glyph().Pixel(3, 3), 0x00002200u) << "the glyph follows the action's image";
    EXPECT_EQ(own.core.Glyph().Pixel(3, 3), 0x00000033u) << "a glyph of the button's own is kept";
    EXPECT_EQ(own.core.Glyph().Width(), 8);
    action->SetImageIndex(5);
    EXPECT_TRUE(b.core.Glyph().Empty()) << "an image index out of range leaves no glyph of the action";
    action->SetEnabled(true);
    b.core.Click();
    EXPECT_EQ(executed, 1) << "without OnClick a click runs the action";

    action.reset();
    EXPECT_EQ(b.core.Action(), nullptr) << "a freed action is forgotten";
    b.core.Click();
    EXPECT_EQ(executed, 1);
}

TEST(LbSpeedButtonCore, HintIsAskedForOnEntryWhenShownAndCancelledOnLeavePressAndDisable) {
    Button b;
    b.core.SetHint("Inchide fereastra");
    b.core.MouseEnter();
    EXPECT_FALSE(b.host.hintPending) << "ShowHint false and a parent that shows no hints";
    b.core.MouseLeave();
    b.host.parentShowsHints = true;
    b.core.MouseEnter();
    EXPECT_TRUE(b.host.hintPending) << "ParentShowHint follows the parent";
    b.Press();
    EXPECT_FALSE(b.host.hintPending) << "pressing hides the hint";
    b.core.MouseLeave();
    b.core.MouseEnter();
    b.core.SetEnabled(false);
    EXPECT_FALSE(b.host.hintPending) << "disabling hides the hint";
    b.core.SetEnabled(true);
    b.core.MouseEnter();
    b.core.MouseLeave();
    EXPECT_FALSE(b.host.hintPending) << "leaving hides the hint";

    b.core.SetShowHint(false);
    EXPECT_FALSE(b.core.ParentShowHint()) << "setting ShowHint ends following the parent";
    b.core.MouseEnter();
    EXPECT_FALSE(b.host.hintPending);
    b.core.MouseLeave();
    b.core.SetShowHint(true);
    b.host.parentShowsHints = false;
    b.core.MouseEnter();
    EXPECT_TRUE(b.host.hintPending);
    b.core.MouseLeave();
    b.core.SetHint("");
    b.core.MouseEnter();
    EXPECT_FALSE(b.host.hintPending) << "no hint text, no hint";
}

TEST(LbSpeedButtonCore, ReleasingAGroupedButtonScansTheGroupAndUnknownStylesDrawAsNormal) {
    Button a, b;
    std::vector<SpeedButtonCore*> parent = {&a.core, &b.core};
    a.host.siblings = b.host.siblings = &parent;
    a.core.SetDown(true);
    b.core.SetDown(true);  // a group left with two down (set before grouping)
    a.core.SetGroupIndex(1);
    b.core.SetGroupIndex(1);
    a.core.SetDown(false);
    EXPECT_FALSE(b.core.Down()) << "the scan runs on release too";

    a.core.SetStyle(static_cast<TLbSpeedButtonStyle>(9));
    EXPECT_EQ(a.core.Face().style, bsNormal);
}
