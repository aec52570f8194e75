#pragma once
// Modem lines for serial tests: a pseudo-terminal has none, so the port is given these instead.
#include <sys/ioctl.h>
#include <mutex>
#include <vector>
#include "link/ComModemLines.h"

/// Records each DTR and RTS change with the time the pulse has held the lines so far, and reports
/// the status lines' change counts from a script that the reader thread works through.
class RecordingModemLines : public TComModemLines {
public:
    struct Change {
        char line;
        bool on;
        int atMs;
        friend bool operator==(const Change&, const Change&) = default;
    };
    bool SetDTR(bool on) override { return Record('D', on); }
    bool SetRTS(bool on) override { return Record('R', on); }
    std::optional<int> Status() override { return TIOCM_CTS | TIOCM_CAR; }
    /// Each look takes the next reading; the last one stays. Nothing without a script.
    std::optional<SerialLineCounts> Counts() override
    {
        std::lock_guard<std::mutex> l(fLock);
        if (fCounts.empty()) return std::nullopt;
        const SerialLineCounts counts = fCounts.front();
        if (fCounts.size() > 1) fCounts.erase(fCounts.begin());
        return counts;
    }
    void Hold(int ms) override { fNow += ms; }

    void ScriptCounts(std::vector<SerialLineCounts> counts)
    {
        std::lock_guard<std::mutex> l(fLock);
        fCounts = std::move(counts);
    }
    void Reset()
    {
        changes.clear();
        fNow = 0;
    }
    std::vector<Change> changes;

private:
    bool Record(char line, bool on)
    {
        changes.push_back({line, on, fNow});
        return true;
    }
    int fNow = 0;
    std::mutex fLock;
    std::vector<SerialLineCounts> fCounts;
};
