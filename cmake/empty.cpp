// A folder whose library has no source yet.
