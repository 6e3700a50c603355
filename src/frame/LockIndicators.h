#pragma once
// Tracks whether Caps Lock, Num Lock and Scroll Lock are on, for the status
// bar's key indicators. The state is read again after every key press or
// release the program sees and whenever the program becomes active (the keys
// may have changed while another program had the keyboard); there is no
// polling. Where the platform offers no way to read the lock keys the state
// is unknown and every indicator stays off.

#include <QObject>

#include <functional>
#include <optional>

struct LockState {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;

    bool operator==(const LockState&) const = default;
};

class LockIndicators : public QObject {
    Q_OBJECT
public:
    // Returns the current state, or nothing when it cannot be read.
    using Reader = std::function<std::optional<LockState>()>;

    explicit LockIndicators(QObject* parent = nullptr);
    ~LockIndicators() override;

    // The state last read; all off when it could not be read.
    LockState State() const { return m_state; }

    // Reads the state now and emits StateChanged when it differs.
    void Refresh();

    // Replaces the platform reader (tests, other platforms) and reads at once.
    void SetReader(Reader reader);

    // Reads the lock keys from the windowing system: the X keyboard extension
    // on X11; nothing elsewhere.
    static std::optional<LockState> ReadPlatformState();

signals:
    void StateChanged(const LockState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ScheduleRefresh();

    Reader m_reader;
    LockState m_state;
    bool m_refreshPending = false;
};
