an earlier file, kept
