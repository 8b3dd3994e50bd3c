// The storage stamp of a data component (not API): what the library's
// routines compare after host code ran, to notice that the component was
// resized or its storage moved (see core/storage_guard.h). Each component
// befriends the template; its specialisations live beside the library's
// component machinery.
#pragma once

namespace orv::detail {

template <class Component>
struct TStorageStamp;

}  // namespace orv::detail
