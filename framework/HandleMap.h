// Wrapper objects for handles that no object owns (a DC passed with a message, the bitmap that a
// selection replaced, a submenu). Each handle gets one wrapper that lives until the process ends and
// never releases the handle; the maps are deliberately never destroyed, so no wrapper can run a
// destructor that would free a handle it does not own.
#pragma once
#include <memory>
#include <unordered_map>

namespace fw {
template <class T, class H> T* TemporaryFor(H handle, void (*bind)(T&, H)) {
    if (!handle)
        return nullptr;
    static auto* s_map = new std::unordered_map<H, std::unique_ptr<T>>();
    std::unique_ptr<T>& slot = (*s_map)[handle];
    if (!slot) {
        slot = std::make_unique<T>();
        bind(*slot, handle);
    }
    return slot.get();
}
} // namespace fw
