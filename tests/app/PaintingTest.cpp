// SPDX-License-Identifier: MIT
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "PlotView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWheelEvent>

namespace {

bool Shown(const QWidget* w)
{
    return !w->isHidden();
}

bool GroupShown(const AxisControlGroup& g)
{
    return Shown(g.Upper) && Shown(g.Lower) && Shown(g.Column) && Shown(g.Auto) && Shown(g.ColumnLabel) &&
        (!g.UpperLabel || Shown(g.UpperLabel)) && (!g.LowerLabel || Shown(g.LowerLabel));
}

bool GroupHidden(const AxisControlGroup& g)
{
    return !Shown(g.Upper) && !Shown(g.Lower) && !Shown(g.Column) && !Shown(g.Auto) && !Shown(g.ColumnLabel) &&
        (!g.UpperLabel || !Shown(g.UpperLabel)) && (!g.LowerLabel || !Shown(g.LowerLabel));
}

QRgb Pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

}   // namespace

class Painting : public MainWindowTest {
protected:
    // x from 0 to 12.5 and y from -0.25 to 2: known limits.
    TForm1& FormWithKnownLimits()
    {
        TForm1& form = MakeForm(WriteFile("known.dat", "0 -0.25\n5 1\n12.5 2\n"));
        return form;
    }

    // Shows the window and lets its first paints happen, so that a test
    // counts only the paints of what it does next.
    static void ShowAndSettle(TForm1& form)
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QApplication::processEvents();
    }
};

TEST_F(Painting, LimitEditsShowTheSettledLimitsInTheirFormats)
{
    TForm1& form = FormWithKnownLimits();
    EXPECT_EQ(Ui(form).X0_upper->text(), "+1.25e+01");
    EXPECT_EQ(Ui(form).X0_lower->text(), "+0.00e+00");
    EXPECT_EQ(Ui(form).Y1_upper->text(), "+2.0e+00");
    EXPECT_EQ(Ui(form).Y1_lower->text(), "-2.5e-01");
    EXPECT_TRUE(form.State.GraphReady);
}

TEST_F(Painting, NothingLoadedDrawsFrameGraticuleAndNoData)
{
    TForm1& form = MakeForm();
    const QImage& picture = form.Picture();
    const QRgb background = form.palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    EXPECT_NE(background, 0xFFFFFFu);
    EXPECT_EQ(Pixel(picture, 70, 200), 0x000000u);         // frame, left edge
    EXPECT_EQ(Pixel(picture, 380, 200), 0x000000u);        // frame, right edge
    EXPECT_EQ(Pixel(picture, 70 + 31, 250), background);   // first vertical graticule line
    EXPECT_EQ(Pixel(picture, 90, 250), 0xFFFFFFu);
    int red = 0;
    for (int y = 148; y < 170; ++y)
        for (int x = 198; x < 270; ++x)
            red += qRed(picture.pixel(x, y)) > 200 && qGreen(picture.pixel(x, y)) < 90 ? 1 : 0;
    EXPECT_GT(red, 20) << "\"No data\" in red";
}

TEST_F(Painting, WindowShowsTheTraceWhereTheDataPutsIt)
{
    // y = x from 0 to 10: the diagonal of the plot rectangle.
    TForm1& form = MakeForm(WriteLine("diagonal.dat"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage shot = form.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(383, 431));
    EXPECT_EQ(Pixel(shot, 70 + 155, 1 + 310 - 155), 0x000000u);
    EXPECT_EQ(Pixel(shot, 70 + 100, 1 + 310 - 100), 0x000000u);
    EXPECT_EQ(Pixel(shot, 70 + 100, 1 + 310 - 200), 0xFFFFFFu);
}

namespace {

struct PaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        Paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

}   // namespace

TEST_F(Painting, TypedFileIsOnScreenBeforeTheHandlerReturns)
{
    TForm1& form = MakeForm(WriteLine("first.dat"));
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle(form));
    PaintCounter counter;
    form.findChild<PlotView*>()->installEventFilter(&counter);

    TypeName(QString::fromStdString(WriteLine("second.dat")));

    EXPECT_GE(counter.Paints, 1);
}

TEST_F(Painting, NewLimitsAreOnScreenBeforeTheHandlerReturns)
{
    // Only what changed is repainted, but it must still be repainted now:
    // the limits of the new file, the name, the plot.
    TForm1& form = MakeForm(WriteFile("small.dat", "0 0\n1 1\n"));
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle(form));
    PaintCounter upper;
    PaintCounter name;
    Ui(form).Y1_upper->installEventFilter(&upper);
    Ui(form).MaskEdit1->installEventFilter(&name);

    Ui(form).MaskEdit1->setText(QString::fromStdString(WriteFile("large.dat", "0 0\n1 500\n")));
    form.NewFileINput();

    EXPECT_EQ(Ui(form).Y1_upper->text(), "+5.0e+02");
    EXPECT_GE(upper.Paints, 1);
    EXPECT_GE(name.Paints, 1);
}

TEST_F(Painting, AnUnchangedLimitIsNotRepaintedButAnEditedOneIsShownAgain)
{
    // A step that keeps the limits leaves their edits alone; an edit the
    // user has touched is set again as always, even to the same text.
    TForm1& form = MakeForm(WriteFile("a.dat", "0 0\n1 1\n"));
    ASSERT_NO_FATAL_FAILURE(ShowAndSettle(form));
    PaintCounter upper;
    Ui(form).Y1_upper->installEventFilter(&upper);
    const QString shown = Ui(form).Y1_upper->text();

    form.PaintGraph();
    EXPECT_EQ(upper.Paints, 0);

    QLineEdit* lower = Ui(form).Y1_lower;
    const QString lowerText = lower->text();
    lower->setSelection(1, 2);
    Ui(form).X0_upper->setCursorPosition(3);
    Ui(form).Y1_upper->insert(QStringLiteral("9"));
    Ui(form).Y1_upper->undo();   // the same text again, with an undo step behind it
    form.PaintGraph();
    EXPECT_EQ(lower->text(), lowerText);
    EXPECT_FALSE(lower->hasSelectedText());
    EXPECT_EQ(Ui(form).X0_upper->cursorPosition(), 0);
    EXPECT_EQ(Ui(form).Y1_upper->text(), shown);
    EXPECT_FALSE(Ui(form).Y1_upper->isRedoAvailable());
    EXPECT_GE(upper.Paints, 1);
}

TEST_F(Painting, MaskEditShowsTheListedNameOfTheCurrentFile)
{
    WriteLine("a.dat");
    WriteLine("b.dat");
    TForm1& form = MakeForm(Dir + "b.dat");
    Ui(form).MaskEdit1->setText("typed text");
    form.PaintGraph();
    EXPECT_EQ(Ui(form).MaskEdit1->text(), "b.dat");
}

TEST_F(Painting, TypedLimitTakesEffectAndClearsAuto)
{
    TForm1& form = FormWithKnownLimits();
    TypeInto(Ui(form).Y1_upper, "5");
    EXPECT_FLOAT_EQ(form.State.Axes[1].Upper, 5.0f);
    EXPECT_FALSE(Ui(form).Y1_auto->isChecked());
    EXPECT_TRUE(Ui(form).X0_auto->isChecked());
    EXPECT_EQ(Ui(form).Y1_upper->text(), "+5.0e+00");
    EXPECT_EQ(Ui(form).Y1_lower->text(), "-2.5e-01");
}

TEST_F(Painting, LinkedTypedLimitGoesToEveryY)
{
    TForm1& form = FormWithKnownLimits();
    Ui(form).LinkageYsBox->setChecked(true);
    TypeInto(Ui(form).Y2_upper, "7");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_FLOAT_EQ(form.State.Axes[static_cast<std::size_t>(k)].Upper, 7.0f) << k;
        EXPECT_FALSE(form.AxisAuto(k)) << k;
    }
    EXPECT_TRUE(Ui(form).X0_auto->isChecked());
}

TEST_F(Painting, XLimitWithLinkOnStaysOnTheXAxis)
{
    TForm1& form = FormWithKnownLimits();
    Ui(form).LinkageYsBox->setChecked(true);
    TypeInto(Ui(form).X0_upper, "20");
    EXPECT_FLOAT_EQ(form.State.Axes[0].Upper, 20.0f);
    EXPECT_FALSE(Ui(form).X0_auto->isChecked());
    EXPECT_FLOAT_EQ(form.State.Axes[1].Upper, 2.0f);
    EXPECT_TRUE(Ui(form).Y1_auto->isChecked());
}

class LimitBadText : public Painting, public ::testing::WithParamInterface<const char*> { };

TEST_P(LimitBadText, ShowsTheErrorAndChangesNoLimit)
{
    TForm1& form = FormWithKnownLimits();
    const auto axesBefore = form.State.Axes;
    const QString text = QString::fromUtf8(GetParam());
    TypeInto(Ui(form).Y1_lower, text);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.front(), QStringLiteral("'%1' は浮動小数点数ではありません.").arg(text));
    EXPECT_EQ(form.State.Axes[1].Lower, axesBefore[1].Lower);
    EXPECT_EQ(form.State.Axes[1].Upper, axesBefore[1].Upper);
    EXPECT_TRUE(Ui(form).Y1_auto->isChecked());
    EXPECT_EQ(Ui(form).Y1_lower->text(), text);
}

INSTANTIATE_TEST_SUITE_P(Texts, LimitBadText, ::testing::Values("", "abc", "1,5", "inf", "nan", "1e99", "０.５"));

struct YsCase {
    int Item;
    bool Y2;
    bool Y3;
    bool Link;
};

class YsSelection : public Painting, public ::testing::WithParamInterface<YsCase> { };

TEST_P(YsSelection, ShowsTheControlsOfTheChosenYs)
{
    TForm1& form = FormWithKnownLimits();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    Ui(form).Cursor->setChecked(true);
    QTest::mouseClick(Ui(form).RadioGroup1Items[static_cast<std::size_t>(GetParam().Item)], Qt::LeftButton);

    EXPECT_EQ(form.State.NumYs(), GetParam().Item + 1);
    EXPECT_EQ(GroupShown(Ui(form).AxisControls[2]), GetParam().Y2);
    EXPECT_EQ(GroupHidden(Ui(form).AxisControls[2]), !GetParam().Y2);
    EXPECT_EQ(GroupShown(Ui(form).AxisControls[3]), GetParam().Y3);
    EXPECT_EQ(GroupHidden(Ui(form).AxisControls[3]), !GetParam().Y3);
    EXPECT_EQ(Shown(Ui(form).LinkageYsBox), GetParam().Link);
    EXPECT_EQ(Shown(Ui(form).CurrentY2), GetParam().Y2);
    EXPECT_EQ(Shown(Ui(form).CurrentY3), GetParam().Y3);
    EXPECT_TRUE(GroupShown(Ui(form).AxisControls[0]));
    EXPECT_TRUE(GroupShown(Ui(form).AxisControls[1]));
}

INSTANTIATE_TEST_SUITE_P(Items, YsSelection,
                         ::testing::Values(YsCase{2, true, true, true}, YsCase{1, true, false, true},
                                           YsCase{0, false, false, false}));

TEST_F(Painting, YsSelectionFromCodeIsKeptInRange)
{
    TForm1& form = FormWithKnownLimits();
    form.SetYsItemIndex(7);
    EXPECT_EQ(form.YsItemIndex(), 2);
    EXPECT_TRUE(GroupShown(Ui(form).AxisControls[3]));

    form.SetYsItemIndex(-5);
    EXPECT_EQ(form.YsItemIndex(), -1);
    EXPECT_EQ(form.State.NumYs(), 0);
    EXPECT_TRUE(GroupShown(Ui(form).AxisControls[3])) << "no item selected changes no control";
    form.PaintGraph();   // no Y at all still paints

    form.SetYsItemIndex(0);
    EXPECT_EQ(form.YsItemIndex(), 0);
    EXPECT_TRUE(GroupHidden(Ui(form).AxisControls[2]));
}

TEST_F(Painting, PlotViewHandsMouseMovesOnInClientPixels)
{
    TForm1& form = FormWithKnownLimits();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* view = form.findChild<PlotView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(70, 1, 311, 311));

    QTest::mouseMove(view, QPoint(0, 310));
    EXPECT_EQ(Ui(form).CurrentX->text(), "+0");
    EXPECT_EQ(Ui(form).CurrentY1->text(), "-0.25");
    QTest::mouseMove(view, QPoint(310, 0));
    EXPECT_EQ(Ui(form).CurrentX->text(), "+12.5");
    EXPECT_EQ(Ui(form).CurrentY1->text(), "+2");
}

TEST_F(Painting, WheelStepsOncePerNotchFromAnySmallTurns)
{
    TForm1& form = MakeForm();
    form.State.UnitWheel = 5;   // count notches without stepping
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* view = form.findChild<PlotView*>();
    auto turn = [&](QWidget* target, int delta) {
        const QPointF pos(20, 20);
        QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    for (int i = 0; i < 7; ++i)
        turn(view, 15);
    EXPECT_EQ(form.State.WheelCount, 0);
    turn(view, 15);
    EXPECT_EQ(form.State.WheelCount, -1) << "away from the user: one step back";
    turn(&form, 240);
    EXPECT_EQ(form.State.WheelCount, -3) << "two whole notches at once";
    EXPECT_TRUE(Script.Errors.isEmpty());
}
