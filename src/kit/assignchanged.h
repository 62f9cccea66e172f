// Controls repaint only when a property really changes; their setters share this.
#pragma once

// Stores value in field and returns true when it differs from what was there.
template <typename T, typename U>
bool AssignChanged(T &field, const U &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
