// The layer check links each core library into an otherwise empty shared object.
