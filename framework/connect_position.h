// Where a signal handler is connected, as the component interfaces take it.
#pragma once

#include <boost/signals2/signal.hpp>

enum ConnectPosition {
    ConnectAtBack = 0,
    ConnectAtFront = 1,
};

// The same position as the signals library takes it.
inline boost::signals2::connect_position SignalPosition(ConnectPosition position)
{
    return position == ConnectAtFront ? boost::signals2::at_front : boost::signals2::at_back;
}
