#pragma once

// The socket every FTP control and data connection uses: the whole chain of asynchronous
// socket, SOCKS negotiation, line mode and synchronous wait.

#include "net/CustomSyncWSocket.h"

class TWSocket : public TCustomSyncWSocket
{
public:
    using TCustomSyncWSocket::TCustomSyncWSocket;
};
