#include "app/view/elementbinding.h"

#include <QPalette>
#include <cxxabi.h>
#include <memory>
#include <stdexcept>
#include <typeindex>
#include <unordered_map>

namespace {

using Registry = std::unordered_map<std::type_index, ElementBinding>;

Registry MakeRegistry() {
    Registry registry;
    for (auto group : {TextBindings, ChoiceBindings, ContainerBindings}) {
        for (const KindBinding& k : group()) {
            registry.emplace(k.type, k.binding);
        }
    }
    return registry;
}

std::string KindName(const std::type_info& type) {
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? name.get() : type.name();
}

} // namespace

const ElementBinding& BindingFor(const TComponent& element) {
    static const Registry registry = MakeRegistry();
    const auto found = registry.find(typeid(element));
    if (found == registry.end()) {
        // A visible element the view cannot show would silently vanish from
        // the window: refuse to build a window without it.
        throw std::logic_error("no widget for the element kind " + KindName(typeid(element)) +
                               " of " + element.Name().toStdString());
    }
    return found->second;
}

QColor ToQColor(TColor c, const QPalette& palette) {
    if (c == clWindowText) {
        return palette.color(QPalette::WindowText);
    }
    if (c == clBtnFace) {
        return palette.color(QPalette::Button);
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}
