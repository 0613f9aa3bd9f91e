// Linked with the whole of one layer and only the layers beneath it: when a layer
// calls upward, this does not link.
int main()
{
    return 0;
}
