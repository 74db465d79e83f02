// Fixture: a folder the layer table does not know.
