#include "components/hyperlinklabel.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "base/messages.h"
#include "base/qthelpers.h"

namespace arcavio {

namespace {

// Longer than the desktop's opener takes to hand a target over; an opener that is still
// running then runs the handler itself (as xdg-open does for a browser it starts directly), so
// it has not failed.
constexpr int kOpenerAnswerMilliseconds = 5000;

// The desktop's opener is waited for beside the event loop, because only its exit status says
// whether the target was opened: that it started says nothing.
void openWithDesktop(const std::string& target, HyperlinkLabel::OpenDone done)
{
    const QString argument = QString::fromUtf8(QUrl(qtext(target), QUrl::TolerantMode).toEncoded());
    // The opener would take it for an option of its own.
    if (argument.isEmpty() || argument.startsWith(QLatin1Char('-'))) {
        done(kOpenNoHandler);
        return;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto answered = std::make_shared<bool>(false);
    const auto answer = [answered, done = std::move(done)](int result) {
        if (*answered)
            return;
        *answered = true;
        done(result);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, answer](int exitCode, QProcess::ExitStatus status) {
                         answer(openResultOfExit(status == QProcess::NormalExit, exitCode));
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, answer](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         answer(kOpenNoHandler);
                         process->deleteLater();
                     });
    QTimer::singleShot(kOpenerAnswerMilliseconds, process, [answer] { answer(kOpenDone); });
    process->start(QStringLiteral("xdg-open"), {argument});
}

bool writeClipboard(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    const QString value = qtext(text);
    clipboard->setText(value);
    return clipboard->text() == value;
}

HyperlinkLabel::Opener& opener()
{
    static HyperlinkLabel::Opener current = openWithDesktop;
    return current;
}

HyperlinkLabel::ClipboardWriter& clipboardWriter()
{
    static HyperlinkLabel::ClipboardWriter current = writeClipboard;
    return current;
}

std::vector<HyperlinkLabel*>& liveLabels()
{
    static std::vector<HyperlinkLabel*> labels;
    return labels;
}

} // namespace

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QWidget(parent), menu_(new QMenu(this))
{
    setSharedCustomPrefix("");
    liveLabels().push_back(this);
    refreshCustomLabels();

    color_ = palette().color(QPalette::Window);
    setGeometry(20, 20, 100, 13);
    setCursor(Qt::PointingHandCursor);
    menu_->addAction(QStringLiteral("Copy Url to clipboard"), this, &HyperlinkLabel::copyTarget);
    refresh();
}

HyperlinkLabel::~HyperlinkLabel()
{
    auto& labels = liveLabels();
    labels.erase(std::remove(labels.begin(), labels.end(), this), labels.end());
}

HyperlinkLabel::Opener HyperlinkLabel::setOpener(Opener replacement)
{
    Opener previous = std::move(opener());
    opener() = replacement ? std::move(replacement) : Opener(openWithDesktop);
    return previous;
}

HyperlinkLabel::ClipboardWriter HyperlinkLabel::setClipboardWriter(ClipboardWriter replacement)
{
    ClipboardWriter previous = std::move(clipboardWriter());
    clipboardWriter() = replacement ? std::move(replacement) : ClipboardWriter(writeClipboard);
    return previous;
}

void HyperlinkLabel::setCaption(const QString& caption)
{
    caption_ = caption;
    visited_ = false;
    refresh();
}

void HyperlinkLabel::setAlias(const QString& alias)
{
    if (alias == alias_)
        return;
    alias_ = alias;
    refresh();
}

void HyperlinkLabel::setLinkType(HyperlinkType type)
{
    if (type == linkType_)
        return;
    linkType_ = type;
    visited_ = false;
    refresh();
}

void HyperlinkLabel::setAutoSize(bool on)
{
    if (on == autoSize_)
        return;
    autoSize_ = on;
    refresh();
}

void HyperlinkLabel::setTransparent(bool on)
{
    if (on == transparent_)
        return;
    transparent_ = on;
    update();
}

void HyperlinkLabel::setLinkColor(const QColor& color)
{
    if (color == linkColor_)
        return;
    linkColor_ = color;
    update();
}

void HyperlinkLabel::setVisitedColor(const QColor& color)
{
    if (color == visitedColor_)
        return;
    visitedColor_ = color;
    update();
}

void HyperlinkLabel::setVisited(bool on)
{
    if (on == visited_)
        return;
    visited_ = on;
    update();
}

void HyperlinkLabel::setColor(const QColor& color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

QString HyperlinkLabel::CustomPrefix() const
{
    return qtext(sharedCustomPrefix());
}

void HyperlinkLabel::setCustomPrefix(const QString& prefix)
{
    if (setSharedCustomPrefix(prefix.toStdString()))
        refreshCustomLabels();
}

void HyperlinkLabel::refreshCustomLabels()
{
    for (HyperlinkLabel* label : liveLabels())
        if (label->linkType_ == HyperlinkType::ltCustom)
            label->refresh();
}

void HyperlinkLabel::setHint(const QString& hint)
{
    savedHint_ = hint;
    updateHint();
}

QString HyperlinkLabel::target() const
{
    return qtext(linkTarget(linkType_, caption_.toStdString()));
}

QFont HyperlinkLabel::linkFont() const
{
    QFont underlined = font();
    underlined.setUnderline(true);
    return underlined;
}

int HyperlinkLabel::neededWidth() const
{
    const QFontMetrics metrics(linkFont());
    if (alias_.isEmpty())
        return metrics.horizontalAdvance(caption_ + qtext(linkPrefix(linkType_))) + 10;
    return metrics.horizontalAdvance(alias_) + 8;
}

int HyperlinkLabel::lineHeight() const
{
    return QFontMetrics(linkFont()).height() + 4;
}

// Sizes are fitted here, when the text or the font changes, never while painting.
void HyperlinkLabel::refresh()
{
    if (autoSize_)
        resize(neededWidth(), lineHeight());
    updateHint();
    update();
}

void HyperlinkLabel::updateHint()
{
    setToolTip(width() >= neededWidth() && !savedHint_.isEmpty() ? savedHint_ : target());
}

void HyperlinkLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!transparent_)
        painter.fillRect(rect(), color_);
    const QFont font = linkFont();
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(visited_ ? visitedColor_ : linkColor_);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    QRect area = rect().adjusted(4, 0, 0, 0);
    if (!alias_.isEmpty()) {
        painter.drawText(area, flags, alias_);
        return;
    }
    const QString prefix = qtext(linkPrefix(linkType_));
    painter.drawText(area, flags, prefix);
    area.setLeft(area.left() + metrics.horizontalAdvance(prefix) + 2);
    painter.drawText(area, flags, metrics.elidedText(caption_, Qt::ElideRight, area.width()));
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        menu_->popup(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}

void HyperlinkLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        refresh();
}

void HyperlinkLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateHint();
}

void HyperlinkLabel::Click()
{
    bool executeIt = true;
    if (OnBeforeExecuted)
        OnBeforeExecuted(this, executeIt);
    if (!executeIt)
        return;
    if (OnExecute)
        OnExecute(this, executeIt);
    if (!executeIt) {
        finishClick(kOpenTakenOver);
        return;
    }
    const QPointer<HyperlinkLabel> self(this);
    opener()(target().toStdString(), [self](int result) {
        if (self)
            self->finishClick(result);
    });
}

void HyperlinkLabel::finishClick(int result)
{
    if (openSucceeded(result))
        setVisited(true);
    if (OnAfterExecuted)
        OnAfterExecuted(this, result);
}

void HyperlinkLabel::copyTarget()
{
    if (!clipboardWriter()(target().toStdString()))
        messages().plainMessage("Could not write to clipboard");
}

} // namespace arcavio
