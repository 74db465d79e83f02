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

#include "ui/CutSettingsBox.h"
#include "ui/LanguageSetting.h"
#include "ui/ProgramSettingsBox.h"
#include "ui/RunSettingsBox.h"
#include "ui/Translation.h"
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

QString Hex8(uint32_t color) {
    return QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

// Gives each control its object name.
template <typename Widget>
Widget* Named(Widget* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

constexpr const char* kDialectButtonNames[] = {"meldasButton", "fanucButton", "tosnacButton"};

}  // namespace

SettingsDialog::SettingsDialog(Settings& settings, UiDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
    setWindowTitle(Tr(kSettingsCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    BuildLayout();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void SettingsDialog::BuildLayout() {
    auto* formatBox = new QGroupBox(Tr(kNcFormat), this);
    auto* formatLayout = new QVBoxLayout(formatBox);
    dialectGroup_ = new QButtonGroup(this);
    const char* items[] = {kDialectMeldas, kDialectFanuc, kDialectTosnac};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(Tr(items[i]), formatBox);
        button->setObjectName(QString::fromLatin1(kDialectButtonNames[i]));
        dialectGroup_->addButton(button, i);
        formatLayout->addWidget(button);
        dialectButtons_[static_cast<std::size_t>(i)] = button;
    }

    auto* colorBox = new QGroupBox(Tr(kColorGroup), this);
    auto* colorLayout = new QFormLayout(colorBox);
    feedColorEdit_ = Named(new QLineEdit(colorBox), "feedColorEdit");
    rapidColorEdit_ = Named(new QLineEdit(colorBox), "rapidColorEdit");
    contourColorEdit_ = Named(new QLineEdit(colorBox), "contourColorEdit");
    contourColorEdit_->setToolTip(Tr(kContourColorTip));
    colorLayout->addRow(Tr(kLabelFeed), feedColorEdit_);
    colorLayout->addRow(Tr(kLabelRapid), rapidColorEdit_);
    colorLayout->addRow(Tr(kLabelContour), contourColorEdit_);

    noBufferBox_ = Named(new QCheckBox(Tr(kNonBuffering), this), "noBufferBox");
    g0DrawBox_ = Named(new QCheckBox(Tr(kG0Draw), this), "g0DrawBox");
    m1StopBox_ = Named(new QCheckBox(Tr(kM1Stop), this), "m1StopBox");
    blockSkipBox_ = Named(new QCheckBox(Tr(kBlockSkip), this), "blockSkipBox");
    showCutterBox_ = Named(new QCheckBox(Tr(kViewCutter), this), "showCutterBox");
    auto* checks = new QVBoxLayout;
    for (QCheckBox* box : {noBufferBox_, g0DrawBox_, m1StopBox_, blockSkipBox_, showCutterBox_})
        checks->addWidget(box);
    checks->addStretch();

    dryRunSpeedEdit_ = Named(new QLineEdit(this), "dryRunSpeedEdit");
    timerEdit_ = Named(new QLineEdit(this), "timerEdit");
    editorEdit_ = Named(new QLineEdit(this), "editorEdit");
    editorEdit_->installEventFilter(this);
    editorEdit_->setMinimumWidth(260);
    auto* fields = new QFormLayout;
    fields->addRow(Tr(kLabelDryRunSpeed), dryRunSpeedEdit_);
    fields->addRow(Tr(kLabelTimer), timerEdit_);
    fields->addRow(Tr(kLabelEditor), editorEdit_);
    for (QLineEdit* edit : {dryRunSpeedEdit_, timerEdit_}) {
        connect(edit, &QLineEdit::textEdited, this, [edit] { Unmark(edit); });
    }

    okButton_ = Named(new QPushButton(Tr(kOk), this), "okButton");
    okButton_->setDefault(true);
    cancelButton_ = Named(new QPushButton(Tr(kCancel), this), "cancelButton");
    connect(okButton_, &QPushButton::clicked, this, &SettingsDialog::ApplyAndAccept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* top = new QHBoxLayout;
    top->addWidget(formatBox);
    top->addWidget(colorBox);
    top->addLayout(checks);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(fields);
    cutBox_ = new CutSettingsBox(this);
    runBox_ = new RunSettingsBox(this);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(cutBox_);
    boxes->addWidget(runBox_);
    main->addLayout(boxes);
    language_ = new LanguageSetting(this);
    main->addWidget(language_);
    programBox_ = new ProgramSettingsBox(this);
    main->addWidget(programBox_);
    main->addLayout(buttons);
}

void SettingsDialog::LoadFromSettings() {
    feedColorEdit_->setText(Hex8(settings_.feedColor));
    rapidColorEdit_->setText(Hex8(settings_.rapidColor));
    contourColorEdit_->setText(Hex8(settings_.contourColor));
    dryRunSpeedEdit_->setText(QString::number(DryRunAsInteger(settings_.dryRunSpeed)));
    timerEdit_->setText(QString::number(settings_.timerIntervalMs));
    editorEdit_->setText(QString::fromStdString(settings_.editorCommand));
    // An out-of-range dialect (which selects FANUC) leaves no item chosen.
    dialectGroup_->setExclusive(false);
    for (QRadioButton* button : dialectButtons_)
        button->setChecked(false);
    dialectGroup_->setExclusive(true);
    if (settings_.dialect >= 0 && settings_.dialect < 3) {
        dialectButtons_[static_cast<std::size_t>(settings_.dialect)]->setChecked(true);
    }
    g0DrawBox_->setChecked(settings_.drawRapids);
    m1StopBox_->setChecked(settings_.stopAtM1);
    blockSkipBox_->setChecked(settings_.blockSkip);
    noBufferBox_->setChecked(settings_.noMotionBuffer);
    showCutterBox_->setChecked(settings_.showCutter);
    cutBox_->Load(settings_);
    programBox_->Load(settings_);
    runBox_->Load(settings_);
    language_->Load(settings_);
    for (QLineEdit* edit : {dryRunSpeedEdit_, timerEdit_})
        Unmark(edit);
}

void SettingsDialog::ApplyAndAccept() {
    int32_t dryRun = 0;
    int32_t timer = 0;
    if (!ReadInteger(dryRunSpeedEdit_->text(), dryRun)) {
        Mark(dryRunSpeedEdit_, kIntegerExpected);
        return;
    }
    if (!ReadInteger(timerEdit_->text(), timer)) {
        Mark(timerEdit_, kIntegerExpected);
        return;
    }
    if (timer < 0) {
        Mark(timerEdit_, kTimerNotNegative);
        return;
    }
    QString why = cutBox_->Check();
    if (why.isEmpty()) why = runBox_->Check();
    if (why.isEmpty()) why = programBox_->Check();
    if (!why.isEmpty()) {
        dialogs_.Error(this, why);
        return;
    }
    // A color text without hexadecimal digits keeps the color it had.
    uint32_t color = 0;
    if (ReadColor(feedColorEdit_->text(), color)) settings_.feedColor = color;
    if (ReadColor(rapidColorEdit_->text(), color)) settings_.rapidColor = color;
    if (ReadColor(contourColorEdit_->text(), color)) settings_.contourColor = color;
    settings_.dryRunSpeed = dryRun;
    settings_.timerIntervalMs = timer;
    settings_.editorCommand = editorEdit_->text().toStdString();
    if (dialectGroup_->checkedId() >= 0) settings_.dialect = dialectGroup_->checkedId();
    settings_.drawRapids = g0DrawBox_->isChecked();
    settings_.stopAtM1 = m1StopBox_->isChecked();
    settings_.blockSkip = blockSkipBox_->isChecked();
    settings_.noMotionBuffer = noBufferBox_->isChecked();
    settings_.showCutter = showCutterBox_->isChecked();
    cutBox_->Apply(settings_);
    programBox_->Apply(settings_);
    runBox_->Apply(settings_);
    language_->Apply(settings_);
    accept();
}

void SettingsDialog::ChooseEditor() {
    FileRequest request;
    request.filter = Tr(kEditorFilter);
    request.selectedFilter = Tr(kEditorFilterSelected);
    request.directory = QStringLiteral(".");
    request.fileName = editorEdit_->text().isEmpty() ? Tr(kEditorDefaultName) : editorEdit_->text();
    const QString chosen = dialogs_.OpenFile(this, request);
    if (!chosen.isEmpty()) editorEdit_->setText(chosen);
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editorEdit_ && event->type() == QEvent::MouseButtonDblClick) {
        ChooseEditor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool SettingsDialog::ReadColor(const QString& text, uint32_t& color) {
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
    color = value;
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
    edit->setToolTip(Tr(reason));
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
