// SPDX-License-Identifier: GPL-3.0-or-later
// Creation of the window's controls: positions, sizes, colours, fonts and the
// names that screen readers announce.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include "app/TMemo.h"

#include "app/TForm1.h"
#include "app/TImage.h"
#include "app/glyphs.h"
#include "app/tesmera_axis_settings.h"
#include "app/tesmera_chart_settings.h"
#include "chart/TBarSeries.h"
#include "chart/TChartControl.h"

namespace tesmera {

namespace {

constexpr QColor Cream(255, 251, 240);
constexpr QColor SkyBlue(166, 202, 240);
constexpr QColor GradientActiveCaption(185, 209, 234);

// A fixed light background with the text colour of the default palette,
// so a dark palette's light text never lands on it.
void SetBase(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Text, Qt::black);
    widget->setPalette(palette);
}

template <typename Control>
Control* Place(Control* control, const char* objectName, const QString& accessibleName, int left,
               int top, int width, int height) {
    control->setObjectName(QLatin1String(objectName));
    control->setAccessibleName(accessibleName);
    control->setGeometry(left, top, width, height);
    return control;
}

QLineEdit* ValueField(QWidget* parent, const char* objectName, const QString& accessibleName,
                      int left, int top, const QString& designText) {
    auto* field =
        Place(new QLineEdit(designText, parent), objectName, accessibleName, left, top, 65, 17);
    field->setTextMargins(0, 0, 0, 0);
    field->setAcceptDrops(false);
    return field;
}

TMemo* Memo(QWidget* parent, const char* objectName, const QString& accessibleName, int left,
            int top, int width, int height, const QColor& background) {
    auto* memo = Place(new TMemo(QLatin1String(objectName), parent), objectName, accessibleName,
                       left, top, width, height);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves on to the next control, so the keyboard is never trapped;
    // nothing reads a tab typed into a memo anyway.
    memo->setTabChangesFocus(true);
    // A file dropped here opens in the window instead of pasting its path.
    memo->setAcceptDrops(false);
    SetBase(memo, background);
    return memo;
}

QToolButton* SpeedButton(QWidget* parent, const char* objectName, const QString& hint, int left,
                         const QImage& glyph) {
    // The accessible name is the hint without its framing blanks.
    auto* button = Place(new QToolButton(parent), objectName, hint.trimmed(), left, 8, 25, 25);
    // Reached by Tab, after the fields, for a user who does not know the
    // shortcuts; a click still leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    button->setToolTip(hint);
    QIcon icon(QPixmap::fromImage(glyph));
    icon.addPixmap(QPixmap::fromImage(DisabledGlyph(glyph)), QIcon::Disabled);
    button->setIcon(icon);
    button->setIconSize(glyph.size());
    return button;
}

QFont WindowFont(int pixelSize) {
    // Linux has no "MS Sans Serif"; without a hint fontconfig picks a much
    // wider face and the captions no longer fit their places. The metric twin
    // of Arial is the closest match the platform ships.
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    return font;
}

struct CaptionPlacement {
    const char* name;
    const char* text;
    int left;
    int top;
    int width;
};

}  // namespace

void TForm1::CreateControls() {
    setFont(WindowFont(11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = Place(new TImage(this), "Image1", tr("Oscilloscope"), 208, 48, 377, 89);
    CreateLabels();
    CreateToolBar();
    CreateValueFields();
    CreateMemos();
    Chart1 = Place(new TChartControl(this), "Chart1", tr("Harmonic amplitude chart"), 208, 140, 378,
                   125);
    ApplyTesmeraChartSettings(Chart1->Chart());
    BarSeries1 = &AddTesmeraBarSeries(Chart1->Chart());
    AttachLabels();
    ArrangeTabOrder();
    CreateShortcuts();
    setAcceptDrops(true);
}

void TForm1::CreateToolBar() {
    Panel1 = Place(new QFrame(this), "Panel1", tr("Tool bar"), 6, 3, 579, 41);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    SpeedButton1 = SpeedButton(Panel1, "SpeedButton1", QStringLiteral(" Load the Voice File "), 6,
                               LoadGlyph());
    SpeedButton3 =
        SpeedButton(Panel1, "SpeedButton3", QStringLiteral(" Compute the Data of the Voice File "),
                    36, ComputeGlyph());
    // Right of the compute button, at the same spacing.
    SpeedButton4 = SpeedButton(Panel1, "SpeedButton4", QStringLiteral(" Open a Recording "), 66,
                               RecordingGlyph());
    SpeedButton4->setAccessibleName(tr("Open a recording"));
    Edit1 = Place(new QLineEdit(QStringLiteral("Edit1"), Panel1), "Edit1", tr("Voice file name"),
                  408, 10, 161, 21);
    SetBase(Edit1, GradientActiveCaption);
    Edit1->setAcceptDrops(false);
}

void TForm1::CreateLabels() {
    static constexpr CaptionPlacement labels[] = {
        {"Label1", "Mean", 362, 272, 27},     {"Label2", "StD", 362, 289, 18},
        {"Label3", "samples", 477, 289, 38},  {"Label4", "|MAX|", 477, 272, 27},
        {"Label9", "fs [Hz]", 477, 306, 30},  {"Label10", "Ts [ms]", 362, 306, 34},
        {"Label15", "Ta [ms]", 362, 323, 35}, {"Label20", "Tb [ms]", 477, 323, 35},
        {"Label21", "Ta/Tb", 362, 340, 31},
    };
    for (const CaptionPlacement& caption : labels) {
        const QString text = QString::fromLatin1(caption.text);
        auto* label = Place(new QLabel(text, this), caption.name, text, caption.left, caption.top,
                            caption.width, 13);
        // Captions size themselves to their text, so a wider platform font
        // never cuts them off; the given width is the least they take.
        label->resize(std::max(caption.width, label->sizeHint().width()), 13);
    }
}

void TForm1::CreateValueFields() {
    Edit2 = ValueField(this, "Edit2", tr("Mean"), 400, 271, QStringLiteral(" "));
    Edit3 = ValueField(this, "Edit3", tr("Standard deviation"), 400, 288, QStringLiteral(" "));
    Edit4 = ValueField(this, "Edit4", tr("Number of samples"), 520, 288, QStringLiteral(" "));
    Edit5 = ValueField(this, "Edit5", tr("Largest absolute sample"), 520, 271, QStringLiteral(" "));
}

void TForm1::CreateMemos() {
    Memo1 = Memo(this, "Memo1", tr("Coefficient table"), 6, 69, 195, 220, Cream);
    Memo1->setFont(WindowFont(8));
    Memo3 = Memo(this, "Memo3", tr("Coefficient table header"), 6, 48, 195, 22, Cream);
    Memo4 = Memo(this, "Memo4", tr("Score report"), 6, 292, 195, 117, SkyBlue);
    Edit14 = ValueField(this, "Edit14", tr("Period frequency in hertz"), 520, 305, QString());
    Edit15 = ValueField(this, "Edit15", tr("Period length in milliseconds"), 400, 305, QString());
    Edit16 = ValueField(this, "Edit16", tr("Tb in milliseconds"), 520, 322, QString());
    Edit17 = ValueField(this, "Edit17", tr("Ta in milliseconds"), 400, 322, QString());
    Edit18 = ValueField(this, "Edit18", tr("Ta to Tb ratio"), 400, 339, QString());
    Edit19 = ValueField(this, "Edit19", tr("Unused field"), 520, 339, QString());
}

// A screen reader announces a field by its label, so each label is its
// field's buddy.
void TForm1::AttachLabels() {
    const std::pair<const char*, QWidget*> buddies[] = {
        {"Label1", Edit2},   {"Label2", Edit3},   {"Label3", Edit4},
        {"Label4", Edit5},   {"Label9", Edit14},  {"Label10", Edit15},
        {"Label15", Edit17}, {"Label20", Edit16}, {"Label21", Edit18},
    };
    for (const auto& [label, field] : buddies) {
        findChild<QLabel*>(QLatin1String(label))->setBuddy(field);
    }
}

void TForm1::ArrangeTabOrder() {
    // The chart takes no keyboard focus; the tool buttons come last, so the
    // fields keep their order.
    QWidget* const order[] = {Edit1,  Edit2,  Edit3,        Edit4,        Edit5,       Memo1,
                              Memo3,  Memo4,  Edit14,       Edit15,       Edit16,      Edit17,
                              Edit18, Edit19, SpeedButton1, SpeedButton3, SpeedButton4};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

}  // namespace tesmera
