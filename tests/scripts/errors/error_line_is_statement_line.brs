if (true)
{
  x = 1;
  y = missingInIf;
}
