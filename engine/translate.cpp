// Implementation in progress.
