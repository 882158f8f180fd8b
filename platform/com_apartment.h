// The main thread's COM apartment, process-wide like the application module. The run enters it
// only once the start has turned out to be the running instance: a start that hands its command
// line on needs no COM, and entering the apartment sets up the window system. The program
// entry leaves it after the components, which may hold COM objects, are gone.
#pragma once

namespace vantor {

class ComApartment {
public:
    // Enters the apartment on the calling thread; later calls do nothing.
    void Enter();
    // Leaves it, if entering succeeded.
    void Leave();

private:
    bool entered = false;
};

ComApartment& MainApartment();

} // namespace vantor
