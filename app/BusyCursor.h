// BusyCursor: the wait cursor for the life of one operation. The cursor
// before it comes back when the object goes, on every path out of the
// operation, exceptions included. Nested operations stack their cursors.
#pragma once

namespace quillon {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace quillon
