// Filled in by the processing run.
