an earlier export
