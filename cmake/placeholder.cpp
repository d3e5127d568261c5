// Keeps a library well-formed while its folder has no sources yet.
