#pragma once
// The reader thread of an open serial port, and the port state it shares with the component.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>
#include "platform/Thread.h"
#include "platform/WakeUp.h"

/// An open device: its descriptor and the bytes of the last write that it has not yet taken.
struct TComPortState {
    int Fd = -1;
    std::mutex Lock;
    /// Notified whenever PendingTx becomes empty.
    std::condition_variable Written;
    std::vector<std::uint8_t> PendingTx;
    /// With Lock held: writes what the device takes now; false on a device error (errno kept).
    bool FlushPendingLocked();
};

/// Waits on the device and on its wake-up, reads what arrives and hands it to the main thread;
/// also writes what remains of a write when the device can take it.
class TComRxThread : public TThread {
public:
    /// Blocks received, in the main thread; and the end of the device (hang-up, unplug, failure).
    using TDataBlock = std::function<void(TComRxThread*, const std::uint8_t*, unsigned)>;
    using TLost = std::function<void(TComRxThread*)>;

    TComRxThread(std::shared_ptr<TComPortState> port, TDataBlock onDataBlock, TLost onLost);
    ~TComRxThread() override;

    /// Makes the reader look at the pending write again.
    void Wake() { fWake.Signal(); }

protected:
    void Execute() override;
    void TerminatedSet() override { fWake.Signal(); }

private:
    /// False when the device is gone or the wait failed.
    bool ServeDevice();

    std::shared_ptr<TComPortState> fPort;
    TDataBlock fOnDataBlock;
    TLost fOnLost;
    WakeUp fWake;
    std::vector<std::uint8_t> fDataBuffer;
};
