// Keeps a process-wide pointer to the one live object of a class: set while
// the object exists, so that creation can hand out the same object again.
#pragma once

template <class T>
class CSingleWrapper : public T {
public:
    CSingleWrapper() { Instance = this; }
    ~CSingleWrapper() override
    {
        if (Instance == this) Instance = nullptr;
    }

    static inline CSingleWrapper* Instance = nullptr;
};
