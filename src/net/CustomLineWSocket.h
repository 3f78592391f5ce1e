#pragma once

// An optional line-oriented receive mode: with LineMode on, received bytes are collected and
// OnDataAvailable comes once per complete line (LineEnd included), the handler's Receive
// calls returning only that line. Off, everything passes straight through.

#include <string>

#include "net/CustomSocksWSocket.h"

class TCustomLineWSocket : public TCustomSocksWSocket
{
public:
    // A line that grows past this without its terminator is reported through OnLineTooLong
    // and handed over as it is, so that the buffer stays bounded.
    static constexpr size_t kMaxLineLength = 1024 * 1024;

    std::string LineEnd = "\r\n"; // line mode is inactive while it is empty
    bool LineEcho = false;        // echo received bytes to the peer
    bool LineEdit = false;        // apply backspace and tab editing to received bytes

    bool LineMode() const { return m_lineMode; }
    void SetLineMode(bool value);
    int GetRcvdCount() override;
    int ReceiveToFile(int fileHandle, int len) override;

protected:
    bool TriggerDataAvailable(int error) override;
    void TriggerSessionClosed(int error) override;
    int DoRecv(void* buffer, int len, int flags) override;
    // Applies the editing characters of newly received bytes to the buffer, echoing as set.
    void EditLine(const std::string& received);

private:
    bool LineModeActive() const { return m_lineMode && !LineEnd.empty(); }
    // Hands the current line to the owner while it reads; false when the handler took nothing.
    void DeliverLine();
    void Redeliver();

    std::string m_buffer;    // received bytes not yet handed over, the current line first
    size_t m_lineLength = 0; // bytes of the current line not yet handed over
    bool m_lineReceived = false;
    bool m_lineMode = false;
};
