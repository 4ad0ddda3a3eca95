#include "app/view/lazytab.h"

#include "mylib/errors.h"
#include "mylib/platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFaultLine::TFaultLine(const QString& name, QWidget* parent)
    : QWidget(parent), text_(new QLabel(this)), row_(new QHBoxLayout(this)) {
    row_->setContentsMargins(4, 4, 4, 4);
    text_->setObjectName(name);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setStyleSheet(QStringLiteral("color: #b00000"));
    row_->addWidget(text_, 1);
    hide();
}

void TFaultLine::Report(const QString& text) {
    text_->setText(text);
    setVisible(!text.isEmpty());
}

void TFaultLine::AddButton(QPushButton* button) {
    button->setParent(this);
    row_->addWidget(button);
}

TLazyTab::TLazyTab(QTabWidget* tabs, TDialogs& dialogs, const QString& name, const QString& title,
                   const QString& faultName, int margins, QObject* owner)
    : QObject(owner), tabs_(tabs), dialogs_(dialogs), tab_(nullptr), faultName_(faultName),
      margins_(margins) {
    for (int i = 0; i < tabs_->count() && !tab_; ++i) {
        if (tabs_->widget(i)->objectName() == name) {
            tab_ = tabs_->widget(i); // kept in its place by the window before the page came
        }
    }
    if (!tab_) {
        tab_ = new QWidget;
        tab_->setObjectName(name);
        tabs_->addTab(tab_, title);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs_->widget(index) == tab_) {
            Shown();
        }
    });
}

void TLazyTab::SetPage(Build build, std::function<void()> read) {
    build_ = std::move(build);
    read_ = std::move(read);
}

void TLazyTab::Show() {
    if (tabs_->currentWidget() != tab_) {
        tabs_->setCurrentWidget(tab_); // shows the page
    } else if (!built_) {
        Shown();
    }
}

void TLazyTab::BuildNow() {
    if (built_) {
        return;
    }
    if (!layout_) {
        layout_ = new QVBoxLayout(tab_);
        layout_->setContentsMargins(margins_, margins_, margins_, margins_);
        fault_ = new TFaultLine(faultName_, tab_);
        layout_->addWidget(fault_);
    }
    built_ = Guarded([&] {
        if (build_) {
            build_(layout_, *fault_);
        }
    });
}

// As the window model's Guard: the error's message in the standard error box.
template <class F> bool TLazyTab::Guarded(F&& f) {
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        const auto* own = dynamic_cast<const EVoltiskError*>(&e);
        dialogs_.ShowError(ErrorBoxText(own ? own->Message() : QString::fromUtf8(e.what())));
        return false;
    }
}

void TLazyTab::Shown() {
    BuildNow();
    if (built_ && read_) {
        Guarded(read_);
    }
}
