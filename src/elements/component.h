#pragma once
// Toolkit-free element kinds. Every element of the window is a named object
// with the properties the logic uses and the events it raises. The event rules
// live here, in one place:
//   - a program-set text fires the change event only when it differs;
//   - a program-set check box fires its click only when the state changes;
//   - a program-set date fires nothing (only UserSetDate fires the change);
//   - the window's visible flag is false until it is shown.
// The Qt view observes property changes through `onPropertyChanged` and feeds
// user actions back through the same setters.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Colour value: red in the lowest byte, then green, then blue. Values with the
// top bit set name a system colour.
using TColor = std::uint32_t;
inline constexpr TColor clWindowText = 0x80000008u;
inline constexpr TColor clBtnFace = 0x8000000Fu;
inline constexpr TColor clDefault = 0x20000000u;
inline constexpr TColor clRed = 0x0000FFu;
constexpr TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

enum class Prop {
    Text,
    Caption,
    Visible,
    Geometry,
    Checked,
    Date,
    Color,
    Font,
    Hint,
    Lines,
    ActivePage,
    Enabled,
    WindowState,
    Focus,
    Cursor,
};

class TComponent;
using TNotifyEvent = std::function<void(TComponent* sender)>;

class TComponent {
public:
    TComponent(TComponent* owner, const QString& name);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const QString& Name() const { return name_; }
    TComponent* Owner() const { return owner_; }
    // Owned components, in the order they were created.
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const QString& name) const;

    // Published properties as text, for storing and restoring by name.
    virtual QStringList PublishedProperties() const { return {}; }
    virtual std::optional<QString> PropertyText(const QString& property) const;
    // False when the component has no such property or the text does not fit.
    virtual bool SetPropertyText(const QString& property, const QString& value);

    // The view's observer of property changes.
    std::function<void(TComponent*, Prop)> onPropertyChanged;

protected:
    void Changed(Prop p) {
        if (onPropertyChanged) {
            onPropertyChanged(this, p);
        }
    }

private:
    TComponent* owner_;
    QString name_;
    std::vector<TComponent*> components_;
};
