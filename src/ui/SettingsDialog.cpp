#include "ui/SettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <limits>

#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {

constexpr char kMarkedProperty[] = "cuttraceBadValue";
constexpr char kMarkedStyle[] = "QLineEdit { background: #ffd0d0; border: 1px solid #c00000; }";

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

int32_t DryRunAsInteger(double speed) {
    if (!std::isfinite(speed)) return 0;
    const double t = std::trunc(speed);
    if (t >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (t <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(t);
}

QString Hex8(uint32_t colour) {
    return QStringLiteral("%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

SettingsDialog::SettingsDialog(Settings& settings, UiDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
    setWindowTitle(QString::fromUtf8(kSettingsCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    BuildLayout();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void SettingsDialog::BuildLayout() {
    auto* formatBox = new QGroupBox(QString::fromUtf8(kNcFormat), this);
    auto* formatLayout = new QVBoxLayout(formatBox);
    radioGroup_ = new QButtonGroup(this);
    const char* items[] = {kDialectMeldas, kDialectFanuc, kDialectTosnac};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(items[i]), formatBox);
        radioGroup_->addButton(button, i);
        formatLayout->addWidget(button);
        radio_[static_cast<std::size_t>(i)] = button;
    }

    auto* colourBox = new QGroupBox(QString::fromUtf8(kColorGroup), this);
    auto* colourLayout = new QFormLayout(colourBox);
    edit1_ = new QLineEdit(colourBox);
    edit2_ = new QLineEdit(colourBox);
    colourLayout->addRow(QString::fromUtf8(kLabelFeed), edit1_);
    colourLayout->addRow(QString::fromUtf8(kLabelRapid), edit2_);

    checkBuffer_ = new QCheckBox(QString::fromUtf8(kNonBuffering), this);
    checkG0_ = new QCheckBox(QString::fromUtf8(kG0Draw), this);
    checkM1_ = new QCheckBox(QString::fromUtf8(kM1Stop), this);
    checkCutter_ = new QCheckBox(QString::fromUtf8(kViewCutter), this);
    auto* checks = new QVBoxLayout;
    for (QCheckBox* box : {checkBuffer_, checkG0_, checkM1_, checkCutter_})
        checks->addWidget(box);
    checks->addStretch();

    edit3_ = new QLineEdit(this);
    edit4_ = new QLineEdit(this);
    edit5_ = new QLineEdit(this);
    edit5_->installEventFilter(this);
    edit5_->setMinimumWidth(260);
    auto* fields = new QFormLayout;
    fields->addRow(QString::fromUtf8(kLabelDryRunSpeed), edit3_);
    fields->addRow(QString::fromUtf8(kLabelTimer), edit4_);
    fields->addRow(QString::fromUtf8(kLabelEditor), edit5_);
    for (QLineEdit* edit : {edit3_, edit4_}) {
        connect(edit, &QLineEdit::textEdited, this, [edit] { Unmark(edit); });
    }

    okButton_ = new QPushButton(QString::fromUtf8(kOk), this);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QString::fromUtf8(kCancel), this);
    connect(okButton_, &QPushButton::clicked, this, &SettingsDialog::ok);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* top = new QHBoxLayout;
    top->addWidget(formatBox);
    top->addWidget(colourBox);
    top->addLayout(checks);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(fields);
    main->addLayout(buttons);
}

void SettingsDialog::FormShow() {
    edit1_->setText(Hex8(settings_.feedColor));
    edit2_->setText(Hex8(settings_.rapidColor));
    edit3_->setText(QString::number(DryRunAsInteger(settings_.dryRunSpeed)));
    edit4_->setText(QString::number(settings_.timerIntervalMs));
    edit5_->setText(QString::fromStdString(settings_.editorCommand));
    // An out-of-range dialect (which selects FANUC) leaves no item chosen.
    radioGroup_->setExclusive(false);
    for (QRadioButton* button : radio_)
        button->setChecked(false);
    radioGroup_->setExclusive(true);
    if (settings_.dialect >= 0 && settings_.dialect < 3) {
        radio_[static_cast<std::size_t>(settings_.dialect)]->setChecked(true);
    }
    checkG0_->setChecked(settings_.drawRapids);
    checkM1_->setChecked(settings_.stopAtM1);
    checkBuffer_->setChecked(settings_.noMotionBuffer);
    checkCutter_->setChecked(settings_.showCutter);
    for (QLineEdit* edit : {edit3_, edit4_})
        Unmark(edit);
}

void SettingsDialog::ok() {
    int32_t dryRun = 0;
    int32_t timer = 0;
    if (!ReadInteger(edit3_->text(), dryRun)) {
        Mark(edit3_, kIntegerExpected);
        return;
    }
    if (!ReadInteger(edit4_->text(), timer)) {
        Mark(edit4_, kIntegerExpected);
        return;
    }
    if (timer < 0) {
        Mark(edit4_, kTimerNotNegative);
        return;
    }
    // A colour text without hexadecimal digits keeps the colour it had.
    uint32_t colour = 0;
    if (ReadColour(edit1_->text(), colour)) settings_.feedColor = colour;
    if (ReadColour(edit2_->text(), colour)) settings_.rapidColor = colour;
    settings_.dryRunSpeed = dryRun;
    settings_.timerIntervalMs = timer;
    settings_.editorCommand = edit5_->text().toStdString();
    if (radioGroup_->checkedId() >= 0) settings_.dialect = radioGroup_->checkedId();
    settings_.drawRapids = checkG0_->isChecked();
    settings_.stopAtM1 = checkM1_->isChecked();
    settings_.noMotionBuffer = checkBuffer_->isChecked();
    settings_.showCutter = checkCutter_->isChecked();
    accept();
}

void SettingsDialog::Edit5DblClick() {
    FileRequest request;
    request.filter = QString::fromUtf8(kEditorFilter);
    request.selectedFilter = QString::fromUtf8(kEditorFilterSelected);
    request.directory = QStringLiteral(".");
    request.fileName =
        edit5_->text().isEmpty() ? QString::fromUtf8(kEditorDefaultName) : edit5_->text();
    const QString chosen = dialogs_.OpenFile(this, request);
    if (!chosen.isEmpty()) edit5_->setText(chosen);
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit5_ && event->type() == QEvent::MouseButtonDblClick) {
        Edit5DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool SettingsDialog::ReadColour(const QString& text, uint32_t& colour) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'#')) {
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X') && i + 2 < text.size() &&
               HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    uint32_t value = 0;
    int digits = 0;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i, ++digits) {
        value = (value << 4) | static_cast<uint32_t>(HexDigit(text[i]));
    }
    if (digits == 0) return false;
    colour = value;
    return true;
}

bool SettingsDialog::ReadInteger(const QString& text, int32_t& value) {
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    int32_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last) return false;
    value = parsed;
    return true;
}

bool SettingsDialog::IsMarked(const QLineEdit* edit) {
    return edit->property(kMarkedProperty).toBool();
}

void SettingsDialog::Mark(QLineEdit* edit, const char* reason) {
    edit->setProperty(kMarkedProperty, true);
    edit->setStyleSheet(QString::fromLatin1(kMarkedStyle));
    edit->setToolTip(QString::fromUtf8(reason));
    edit->setFocus();
    edit->selectAll();
}

void SettingsDialog::Unmark(QLineEdit* edit) {
    if (!IsMarked(edit)) return;
    edit->setProperty(kMarkedProperty, false);
    edit->setStyleSheet(QString());
    edit->setToolTip(QString());
}

}  // namespace cuttrace::ui
