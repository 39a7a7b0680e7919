// One object for everyone who asks while any of them still holds it: the first asker makes it, later askers get the
// same one, and the last holder's release destroys it. For what start-up would otherwise load or ask for once per
// page (a module, the spooler's printers, a picture) though every page would get the same.
//
// Use:
//   CSharedWhileHeld<CThing> m_thing;
//   std::shared_ptr<CThing> thing = m_thing.Get([](CThing& made) { return made.Load(); }); // null: refused
#pragma once

#include <memory>
#include <new>

namespace tolvan {

template <class T> class CSharedWhileHeld {
public:
    // The object while anyone holds it, else a new one that ready (T&) -> bool prepares; null when ready refuses
    // it or there is no memory for it.
    template <class Ready> std::shared_ptr<T> Get(Ready ready) {
        if (std::shared_ptr<T> held = m_held.lock())
            return held;
        std::shared_ptr<T> made;
        try {
            made = std::make_shared<T>();
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        if (!ready(*made))
            return nullptr;
        m_held = made;
        return made;
    }

private:
    std::weak_ptr<T> m_held;
};

} // namespace tolvan
