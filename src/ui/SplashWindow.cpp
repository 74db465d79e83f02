#include "ui/SplashWindow.h"

#include "ui/Translation.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/AppIcon.h"
#include "ui/UiTexts.h"

namespace cuttrace::ui {

namespace {
constexpr int kClientWidth = 292;
constexpr int kClientHeight = 138;
constexpr int kIconWidth = 65;
constexpr int kIconHeight = 57;
constexpr int kProductPixels = 17;
}  // namespace

SplashWindow::SplashWindow(std::function<void()> onElapsed, int displayMilliseconds)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      onElapsed_(std::move(onElapsed)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Tr(kOpenCaption));
    setFixedSize(kClientWidth, kClientHeight);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramPicture(kIconHeight).scaled(kIconWidth, kIconHeight));
    icon->setFixedSize(kIconWidth, kIconHeight);

    auto* product = new QLabel(Tr(kProductName), panel);
    product->setObjectName(QStringLiteral("productName"));
    QFont bold = product->font();
    bold.setBold(true);
    QFont big = bold;
    big.setPixelSize(kProductPixels);
    product->setFont(big);
    auto* version = new QLabel(Tr(kVersion), panel);
    version->setObjectName(QStringLiteral("version"));
    version->setFont(bold);
    auto* comments = new QLabel(Tr(kComments), panel);
    comments->setObjectName(QStringLiteral("comments"));
    comments->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* inner = new QVBoxLayout(panel);
    inner->addLayout(top);
    inner->addWidget(comments);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(panel);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    timer_.setParent(this);
    timer_.setObjectName(QStringLiteral("displayTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(displayMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::OnDisplayTimeElapsed);
    timer_.start();
}

void SplashWindow::OnDisplayTimeElapsed() {
    timer_.stop();
    // The callback may open dialogs; the window closes (and frees itself) afterwards.
    std::function<void()> elapsed = std::move(onElapsed_);
    onElapsed_ = nullptr;
    close();
    if (elapsed) elapsed();
}

void SplashWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible() || isActiveWindow()) return;
    // Another window of this program took the focus: take it back while showing.
    if (QApplication::activeWindow() == nullptr) return;
    if (!timer_.isActive()) timer_.start();
    QTimer::singleShot(0, this, [this] {
        raise();
        activateWindow();
    });
}

}  // namespace cuttrace::ui
