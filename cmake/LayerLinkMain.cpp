// The entry point of the layer link checks: they only need every object file of one core layer
// to link against the layers below it.
int main() { return 0; }
