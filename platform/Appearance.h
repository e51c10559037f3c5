#pragma once
#include <QObject>
#include <optional>

namespace CarvexPlatform {

// Whether the application looks dark or light. Qt 6.4 has no colour-scheme hint, so the answer is
// read from the application palette: a dark window background means the dark appearance. Tests
// force an answer with `setOverride`. Main thread only.
class Appearance : public QObject {
    Q_OBJECT
public:
    static Appearance& shared();

    bool isDark() const;

    // Forces the appearance (nothing restores the palette's answer). Emits `changed` when the
    // effective appearance differs from before.
    void setOverride(std::optional<bool> isDark);
    std::optional<bool> forced() const { return forced_; }

    // Re-reads the palette; emits `changed` when the effective appearance has changed. Called by
    // the palette-change hook, and available to callers that change the palette themselves.
    void refresh();

signals:
    // The effective appearance switched between dark and light.
    void changed(bool isDark);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Appearance();
    void installHook() const;
    static bool paletteIsDark();

    std::optional<bool> forced_;
    mutable bool hookInstalled_ = false;
    mutable std::optional<bool> lastKnown_;
};

}  // namespace CarvexPlatform
