#pragma once

// The start-up check that the process can use sockets at all. Nothing else in the program uses them.
class SocketLayer
{
public:
    virtual ~SocketLayer() = default;
    virtual bool start() = 0;
};

class SystemSocketLayer final : public SocketLayer
{
public:
    bool start() override;
};
