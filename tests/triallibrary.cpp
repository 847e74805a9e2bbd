// A library that the trial stand-in needs and the release does not ship.
__declspec(dllexport) int trialLibrary()
{
    return 0;
}
