#pragma once

// The socket every FTP control and data connection uses. The SOCKS and line-mode layers take
// their place between this class and TCustomWSocket through its virtual operations.

#include "net/CustomWSocket.h"

class TWSocket : public TCustomWSocket
{
public:
    using TCustomWSocket::TCustomWSocket;
};
