// CRC-16 and CRC-32 of texts and files, Base64, and a named mutex.
println(CRC.calc("123456789").CRC16);
println(CRC.CRC32);
println(CRC.calc("").CRC32);
f = new File("digits.txt");
f.open("w");
f.write("123456789");
f.close();
println(new CRC().calcFile("digits.txt").CRC16);
try { CRC.calcFile("missing.txt"); } catch (e) { println("calcFile " + e); }
println(CRC.CRC16);
println(Base64.encode("BRScript"));
println(Base64.decode("QlJTY3JpcHQ="));
try { Base64.encode(); } catch (e) { println("encode " + e); }
m = new Mutex("brs-script-test-checksums");
println(m.tryLock());
println(m.timeout);
m.unlock();
println(new Mutex("brs-script-test-checksums").existed);
CRC.calcFile();
