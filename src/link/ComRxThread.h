#pragma once
// The reader thread of an open serial port, and the port state it shares with the component.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>
#include "link/ComModemLines.h"
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

class TComRxThread;

/// What the reader hands on: received blocks and bytes, modem-line changes, and the end of the
/// device (hang-up, unplug, failure): first its error, then the loss. Empty handlers are skipped.
struct TComRxThreadEvents {
    std::function<void(TComRxThread*, const std::uint8_t*, unsigned)> DataBlock;
    std::function<void(TComRxThread*, std::uint8_t)> DataReady;
    /// Always in the reader thread.
    std::function<void(TComRxThread*, TComModemEvents)> ModemEvent;
    /// The system's error number that ended the device, and whether to abort (the reader ends
    /// whatever the handler answers: a failed device fails again at once).
    std::function<void(TComRxThread*, int, bool&)> Error;
    /// Always in the main thread.
    std::function<void(TComRxThread*)> Lost;
};

/// Waits on the device and on its wake-up, reads what arrives and hands it on; watches the modem
/// lines' change counts; also writes what remains of a write when the device can take it.
class TComRxThread : public TThread {
public:
    /// Synchronized: the data and error events run in the main thread, each waited for; otherwise
    /// they run in this thread, as the modem events always do. lines may be null (no modem events then).
    TComRxThread(std::shared_ptr<TComPortState> port, std::shared_ptr<TComModemLines> lines,
                 TComRxThreadEvents events, bool synchronized);
    ~TComRxThread() override;

    /// Makes the reader look at the pending write again.
    void Wake() { fWake.Signal(); }

protected:
    void Execute() override;
    void TerminatedSet() override { fWake.Signal(); }

private:
    /// 0 while the device serves; else the system's error number that ended it.
    int ServeDevice();
    /// Reports the device's error, then its loss, unless terminated meanwhile.
    void EndWithError(int error);
    /// Hands a received block on, then its bytes one at a time; false once terminated.
    void Deliver(unsigned count);
    /// Reports the lines whose change counts moved since the last look.
    void WatchModemLines();
    /// Runs fn as the hand-over mode says; false when it was given up (terminated).
    bool Hand(const std::function<void()>& fn);

    std::shared_ptr<TComPortState> fPort;
    std::shared_ptr<TComModemLines> fLines;
    TComRxThreadEvents fEvents;
    bool fSynchronized;
    /// The counts last seen; nothing while the device keeps none.
    std::optional<SerialLineCounts> fLineCounts;
    WakeUp fWake;
    std::vector<std::uint8_t> fDataBuffer;
};
