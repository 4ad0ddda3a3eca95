#include "elements/component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner, const QString& name) : owner_(owner), name_(name) {
    if (owner_) {
        owner_->components_.push_back(this);
    }
}

TComponent::~TComponent() {
    if (owner_) {
        auto& list = owner_->components_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

TComponent* TComponent::FindComponent(const QString& name) const {
    for (TComponent* c : components_) {
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return nullptr;
}

std::optional<QString> TComponent::PropertyText(const QString&) const {
    return std::nullopt;
}

bool TComponent::SetPropertyText(const QString&, const QString&) {
    return false;
}
