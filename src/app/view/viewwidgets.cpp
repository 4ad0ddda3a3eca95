#include "app/view/viewwidgets.h"
#include "app/view/panelcache.h"
#include "app/view/plainbackgrounds.h"

#include "app/inputrules.h"

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

QChar TypedCharacter(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (ctrl && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return QChar(static_cast<char16_t>(key - Qt::Key_A + 1));
    }
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return QChar();
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    default:
        break;
    }
    return text.isEmpty() ? QChar() : text.at(0);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    QChar c = TypedCharacter(event->key(), event->modifiers(), event->text());
    if (!c.isNull() && keyFilter && !keyFilter(c)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

namespace {

// The one colour the parent paints behind `w` (its own background and frame,
// no other widget over that place), or an invalid colour. Only a parent that
// fills its own background qualifies: behind any other the colour is its
// ancestors'.
QColor PlainBackgroundBehind(const QWidget* w, const TPlainBackgrounds* plain) {
    QWidget* parent = w->parentWidget();
    if (!parent || !plain || !plain->Fills(parent)) {
        return {};
    }
    const QRect place = w->geometry();
    for (const QObject* o : parent->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(o);
        if (sibling && sibling != w && !sibling->isWindow() &&
            sibling->geometry().intersects(place)) {
            return {};
        }
    }
    const qreal ratio = w->devicePixelRatioF();
    QImage image((QSizeF(place.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    parent->render(&image, QPoint(), QRegion(place), QWidget::DrawWindowBackground);
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != first) {
                return {};
            }
        }
    }
    return qAlpha(first) == 255 ? QColor::fromRgb(first) : QColor();
}

// One for every field, made when the first field becomes opaque.
QStyle* PanelCache() {
    static QPointer<TPanelCacheStyle> style;
    if (!style) {
        style = new TPanelCacheStyle([](const QWidget* w) {
            const auto* edit = dynamic_cast<const FilteredLineEdit*>(w);
            return edit ? edit->PlainBackground() : QColor();
        });
        style->setParent(qApp);
    }
    return style;
}

} // namespace

void FilteredLineEdit::SetPlainBackground(const QColor& colour) {
    plain_ = colour;
    setAttribute(Qt::WA_OpaquePaintEvent, plain_.isValid());
    if (plain_.isValid() && !testAttribute(Qt::WA_SetStyle)) {
        setStyle(PanelCache());
    }
}

void FilteredLineEdit::focusInEvent(QFocusEvent* event) {
    if (!probed_) {
        probed_ = true;
        SetPlainBackground(PlainBackgroundBehind(this, plainBackgrounds));
    }
    QLineEdit::focusInEvent(event);
}

void FilteredLineEdit::paintEvent(QPaintEvent* event) {
    if (plain_.isValid()) {
        QPainter(this).fillRect(event->rect(), plain_);
    }
    QLineEdit::paintEvent(event);
}

// Elsewhere the background may differ: looked at again at the next focus.
void FilteredLineEdit::moveEvent(QMoveEvent* event) {
    probed_ = false;
    SetPlainBackground({});
    QLineEdit::moveEvent(event);
}

void FilteredLineEdit::resizeEvent(QResizeEvent* event) {
    probed_ = false;
    SetPlainBackground({});
    QLineEdit::resizeEvent(event);
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!keyFilter || event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const QString kept = FilterCommittedText(event->commitString(), keyFilter);
    if (kept == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // With nothing kept, the input method's replacement of text around the
    // cursor goes too: a dropped key deletes nothing either.
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    if (kept.isEmpty()) {
        filtered.setCommitString(QString());
    } else {
        filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    }
    QLineEdit::inputMethodEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

StepButtons::StepButtons(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto make = [&](Qt::ArrowType arrow, bool up, const char* name) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, up] {
            if (onStep) {
                onStep(up);
            }
        });
        layout->addWidget(b);
    };
    make(Qt::UpArrow, true, "up");
    make(Qt::DownArrow, false, "down");
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (onEnter) {
        onEnter();
    }
}

void LinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (onLeave) {
        onLeave();
    }
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        onClick) {
        onClick();
    }
}

void HelpTextBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (onFocusIn) {
        onFocusIn();
    }
}
