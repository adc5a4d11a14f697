// CCriticalSection and CSingleLock.
#pragma once

#include "AfxTypes.h"

#include <mutex>

class CCriticalSection {
public:
    BOOL Lock() {
        m_mutex.lock();
        return TRUE;
    }
    BOOL Unlock() {
        m_mutex.unlock();
        return TRUE;
    }

private:
    std::recursive_mutex m_mutex; // a Win32 critical section may be re-entered by its owner
};

class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* pObject, BOOL bInitialLock = FALSE) : m_pObject(pObject) {
        if (bInitialLock)
            Lock();
    }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    ~CSingleLock() { Unlock(); }

    BOOL Lock() {
        if (!m_bAcquired)
            m_bAcquired = m_pObject->Lock();
        return m_bAcquired;
    }
    BOOL Unlock() {
        if (m_bAcquired)
            m_pObject->Unlock();
        m_bAcquired = FALSE;
        return TRUE;
    }
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CCriticalSection* m_pObject;
    BOOL m_bAcquired = FALSE;
};
