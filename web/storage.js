// The page's storage, where the browser gives it: a browser that refuses it
// (privacy settings, a file opened from disk) or whose storage is full only
// forgets the choices, and the page works on.
export function readStored(key) {
    try {
        return localStorage.getItem(key);
    } catch {
        return null;
    }
}

export function store(key, value) {
    try {
        localStorage.setItem(key, value);
    } catch {
        // Not kept.
    }
}
